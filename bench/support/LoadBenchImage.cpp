#include "support/LoadBenchImage.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tessaron::bench {

fs::path metabaseFileOf(const fs::path& image) {
    return image / "C" / "WINDOWS" / "system32" / "inetsrv" / "MetaBase.xml";
}

fs::path makeManySiteImage(const fs::path& sourceDir, int sites) {
    std::random_device device;
    const fs::path image =
        fs::temp_directory_path() / ("tessaron-bench-load-" + std::to_string(device()));
    fs::copy(sourceDir / "examples" / "machines" / "windows2003", image,
             fs::copy_options::recursive);

    const fs::path file = metabaseFileOf(image);
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    std::string xml = content.str();
    const auto end = xml.rfind("</MBProperty>");
    if (end == std::string::npos) throw std::runtime_error("sample MetaBase.xml has no MBProperty");

    std::string added;
    added.reserve(static_cast<std::size_t>(sites) * 420);
    for (int i = 0; i < sites; ++i) {
        const std::string n = std::to_string(1000 + i);
        added += "<IIsWebServer\tLocation =\"/LM/W3SVC/" + n +
                 "\"\r\n\t\tServerAutoStart=\"TRUE\"\r\n\t\tServerBindings=\":80:site" + n +
                 ".example.test\"\r\n\t\tServerComment=\"Customer site " + n +
                 "\"\r\n\t>\r\n</IIsWebServer>\r\n";
        added +=
            "<IIsWebVirtualDir\tLocation =\"/LM/W3SVC/" + n +
            "/root\"\r\n\t\tAccessFlags=\"AccessRead | AccessScript\"\r\n\t\tAppRoot=\"/LM/W3SVC/" +
            n + "/Root\"\r\n\t\tPath=\"D:\\Accounts\\site" + n +
            "\\www\"\r\n\t>\r\n</IIsWebVirtualDir>\r\n";
    }
    xml.insert(end, added);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << xml;
    return image;
}

}  // namespace tessaron::bench
