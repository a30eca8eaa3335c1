// bench_run's anchor: the least a run that saves the metabase must do with
// MetaBase.xml, in a process of its own: copy it (the former version kept),
// parse it with pugixml as Debian builds it, save the document to a new file
// and rename that over the old one.
//
//   bench_run_anchor FILE
#include <filesystem>
#include <pugixml.hpp>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 2) return 64;
    const fs::path file = argv[1];
    fs::copy_file(file, fs::path(file).concat(".copy"), fs::copy_options::overwrite_existing);
    pugi::xml_document document;
    const unsigned flags = pugi::parse_default & ~pugi::parse_wconv_attribute;
    if (!document.load_file(file.c_str(), flags, pugi::encoding_utf8)) return 1;
    const auto saving = fs::path(file).concat(".saving");
    if (!document.save_file(saving.c_str(), "", pugi::format_raw, pugi::encoding_utf8)) return 1;
    fs::rename(saving, file);
    return 0;
}
