#pragma once

// A results reply with one record of each case the lists tell apart: a listing for sale whose
// poster is online, a wanted one whose poster is offline, a record of an unknown kind and a
// free wanted listing whose poster is online. Item numbers 9, 12 and 100 sort differently as
// numbers and as text.
inline constexpr char kThreeRowsReply[] = R"(<results>
<result><productid>12</productid><titlebar>Oak table</titlebar><username>ann</username>
  <ipaddress>10.0.0.7</ipaddress><connection>DSL</connection><filesize>120</filesize>
  <status>Selling</status><price>-1</price><email>ann@example.org</email></result>
<result><productid>9</productid><titlebar>Brass lamp</titlebar><username>bob</username>
  <ipaddress></ipaddress><connection>56K</connection><filesize>3</filesize>
  <status>Buying</status><price>12.50</price><email>bob@example.org</email></result>
<result><productid>30</productid><titlebar>Odd one</titlebar><username>dan</username>
  <ipaddress>10.0.0.8</ipaddress><connection>DSL</connection><filesize>1</filesize>
  <status>selling</status><price>1</price><email>dan@example.org</email></result>
<result><productid>100</productid><titlebar>Pine chair</titlebar><username>cy</username>
  <ipaddress>10.0.0.9</ipaddress><connection>T1</connection><filesize>0</filesize>
  <status>Buying</status><price>0</price><email>cy@example.org</email></result>
</results>)";
