#pragma once

#include <string_view>

namespace tessaron {

// The folders where earlier versions of the program wrote temporary files
// beside the files a run or a restore changes.
enum class TemporaryPlace {
    PanelFolder,  // InstallDir\panel: config.inc, its backups
    Inetsrv,      // ...\system32\inetsrv: MetaBase.xml
    History,      // ...\system32\inetsrv\History: the metabase's copies
};

// True for a name that an earlier version gave a temporary file in that
// place, before every temporary took the one form of TemporaryNames.h:
//   panel folder  config.inc.tmp-<8 hex>            a rewrite of config.inc
//                 .config.inc.<n>.tmp               a restored config.inc
//                 .config.inc.<stamp>.bak.<n>.tmp   a backup copy
//   inetsrv       MetaBase.xml.saving               a metabase save
//                 .MetaBase.xml.<n>.tmp             a restored metabase
//   History       .MetaBase_<10 digits>_<10 digits>.xml.<n>.tmp   a copy
// where <n> is a number below 1000000 as written without leading zeros and
// <stamp> a backup's date-time ("20261208-131500", "20261208-131500-2").
// The names are matched whole (letters in any case, as Windows does), so a
// file that only looks alike is not taken for one.
bool isEarlierTemporaryName(TemporaryPlace place, std::string_view name);

}  // namespace tessaron
