// Writes the Qt Designer forms of the three designed forms (frmMain.ui,
// frmInstall.ui, frmProgress.ui) from the control catalogue, so that the
// window's widgets, names and places have one source. Run by the build.
#include <fstream>
#include <iostream>
#include <sstream>

#include "gui/generator/FormUi.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tessaron-generate-forms OUTDIR\n";
        return 64;
    }
    const std::string folder = argv[1];
    for (const auto* form :
         {&tessaron::app::window::mainFormDesign(), &tessaron::app::window::installFormDesign(),
          &tessaron::app::window::progressFormDesign()}) {
        const std::string path = folder + "/" + form->name + ".ui";
        const std::string text = tessaron::gui::formUi(*form);
        // An unchanged form keeps its file (and time stamp), so uic does not rerun.
        std::ifstream existing(path, std::ios::binary);
        std::ostringstream old;
        if (existing) old << existing.rdbuf();
        if (existing && old.str() == text) continue;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            std::cerr << "tessaron-generate-forms: cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
