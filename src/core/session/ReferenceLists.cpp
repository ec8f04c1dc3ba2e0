#include "core/session/ReferenceLists.h"

#include <string>

#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Ui.h"
#include "core/platform/XmlDocument.h"
#include "core/service/Endpoints.h"
#include "core/service/ServiceRequest.h"
#include "core/session/Session.h"

namespace tl {
namespace {

std::string refreshList(const char* currentNamePath) {
    const std::string name = requestText(Query(currentNamePath), Credentials::None);
    // The name comes from the server and names a file directly in the program directory; one
    // that would reach elsewhere fails like any other refresh failure.
    const std::string local = plainFileIn(programDirectory(), name);
    if (local.empty()) throw RequestError("the server named an unusable list file");
    if (!fileExists(local)) {
        const std::string content = requestText(
            Query(endpoints::kReferenceListFolder + percentEncode(name)), Credentials::None);
        // A file once written is never fetched again, so only a usable list may be kept.
        if (!XmlDocument().loadXml(content)) throw RequestError("the server sent no usable list");
        createDirectories(programDirectory());
        writeFileAtomically(local, content);
    }
    return name;
}

}  // namespace

void refreshReferenceLists() {
    try {
        session().wordListFileName = refreshList(endpoints::kCurrentWordList);
        session().categoryFileName = refreshList(endpoints::kCurrentCategoryList);
    } catch (const RequestError&) {
        ui().messageBox("Error", "Exception occurred in Get XML List Update");
    }
}

}  // namespace tl
