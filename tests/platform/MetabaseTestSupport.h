#pragma once

// Helpers for the metabase store's tests: a small IIS 6 metabase and a store
// over a file in a temporary machine image.

#include <memory>
#include <string>

#include "platform/Failure.h"
#include "platform/image/MachineImage.h"
#include "support/TestMachine.h"

namespace tessaron::testing {

inline constexpr const char* kMetabasePath = "C:\\WINDOWS\\system32\\inetsrv\\MetaBase.xml";

// A metabase in IIS's own layout with line feeds only: the web service, two
// sites (one started on :80:) and an FTP site.
inline std::string smallMetabase() {
    return "<?xml version =\"1.0\"?>\n"
           "<configuration xmlns=\"urn:microsoft-catalog:XML_Metabase_V64_0\">\n"
           "<MBProperty>\n"
           "<IIsComputer\tLocation =\"/LM\"\n"
           "\t>\n"
           "</IIsComputer>\n"
           "<IIsWebService\tLocation =\"/LM/W3SVC\"\n"
           "\t\tLogFileDirectory=\"%WinDir%\\System32\\LogFiles\"\n"
           "\t>\n"
           "</IIsWebService>\n"
           "<IIsWebServer\tLocation =\"/LM/W3SVC/1\"\n"
           "\t\tServerAutoStart=\"TRUE\"\n"
           "\t\tServerBindings=\":80:\"\n"
           "\t\tServerComment=\"Default Web Site\"\n"
           "\t>\n"
           "</IIsWebServer>\n"
           "<IIsWebVirtualDir\tLocation =\"/LM/W3SVC/1/ROOT\"\n"
           "\t\tAccessFlags=\"AccessRead | AccessScript\"\n"
           "\t\tPath=\"c:\\inetpub\\wwwroot\"\n"
           "\t>\n"
           "</IIsWebVirtualDir>\n"
           "<IIsWebServer\tLocation =\"/LM/W3SVC/2\"\n"
           "\t\tServerBindings=\":81:\n"
           "\t\t\t10.0.0.5:82:www.example.com\"\n"
           "\t\tServerComment=\"Second\"\n"
           "\t>\n"
           "</IIsWebServer>\n"
           "<IIsFtpService\tLocation =\"/LM/MSFTPSVC\"\n"
           "\t>\n"
           "</IIsFtpService>\n"
           "<IIsFtpServer\tLocation =\"/LM/MSFTPSVC/1\"\n"
           "\t\tServerAutoStart=\"TRUE\"\n"
           "\t\tServerBindings=\":21:\"\n"
           "\t\tServerComment=\"Default FTP Site\"\n"
           "\t>\n"
           "</IIsFtpServer>\n"
           "</MBProperty>\n"
           "</configuration>\n";
}

// The description of the failure an operation throws; empty when it succeeds.
template <typename Operation>
std::string failureOf(Operation&& operation) {
    try {
        operation();
    } catch (const PlatformError& error) {
        return error.description();
    }
    return {};
}

}  // namespace tessaron::testing
