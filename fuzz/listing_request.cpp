// The listing server's reading of a request: the length, the name bytes up to the end byte and
// the check that the name stays inside the products folder.
#include "FuzzSupport.h"
#include "core/peer/TransferProtocol.h"
#include "core/platform/ProgramDirectory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tl;
    fuzz::ScriptedChannel channel(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::optional<std::string> name = receiveFileRequest(channel);
    if (!name) return 0;
    fuzz::require(name->size() < kLargestRequestLength, "a name longer than the largest request");
    if (!isSafeRelativeName(*name)) return 0;
    const std::string folder = "/srv/products/";
    fuzz::require(fuzz::staysIn(joinStoredName(folder, *name), folder),
                  "a safe name that leaves the products folder");
    return 0;
}
