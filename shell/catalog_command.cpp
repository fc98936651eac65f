#include "shell/catalog_command.h"

#include <string>

#include "playback/cd_audio.h"
#include "resources/ids.h"
#include "shell/file_commands.h"
#include "shell/list_view.h"
#include "playback/play_state.h"
#include "settings/settings_record.h"
#include "storage/cd_catalog.h"
#include "storage/list_file.h"
#include "support/language.h"

namespace {

void OfferToFillFromCd(HWND mainWindow) {
  if (ShowMessage(mainWindow, IDS_ASK_FILL_FROM_CD, MB_YESNO | MB_ICONQUESTION) == IDYES)
    PostMessageA(mainWindow, WM_COMMAND, IDM_OPT_ADD_ALL_CD_TRACKS, 0);
}

// Appends an entry for the current list, after asking when this run
// cataloged the same list for another CD. True when it was written.
bool CatalogCurrentList(HWND mainWindow, ObjectList& list, uint32_t first, uint32_t second) {
  const CatalogedList& last = LastCataloged();
  if (!last.path.empty() && lstrcmpiA(list.FileName().c_str(), last.path.c_str()) == 0 && first != last.first &&
      second != last.second) {
    // This list was cataloged for another CD earlier in this run.
    if (ShowMessage(mainWindow, IDS_ASK_SAME_LIST_NEW_CD, MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2) != IDYES) {
      RunFileCommand(mainWindow, list, IDM_FILE_NEW);
      OfferToFillFromCd(mainWindow);
      return false;
    }
  }
  if (DWORD error = AppendCatalogEntry(first, second, list.FileName())) {
    ShowFormattedMessage(mainWindow, IDS_FMT_CANNOT_WRITE, MB_ICONEXCLAMATION, "WD_CD.DAT",
                         SystemErrorText(error).c_str());
    return false;
  }
  return true;
}

}  // namespace

void CatalogActiveCd(HWND mainWindow, ObjectList& list) {
  if (g_playback.playAllRunning || g_playback.playing) return;
  CdDisc disc;
  if (!ReadCdDisc(&disc, false) || !disc.identified) {
    ShowMessage(mainWindow, IDS_NO_CD, MB_ICONEXCLAMATION);
    return;
  }
  std::string path;
  switch (LookupCatalog(disc.first, disc.second, (g_settings.preferenceFlags & CatalogAbsolutePaths) != 0, &path)) {
    case CatalogFound::Found:
      // Cancel, or a save that did not happen, leaves everything as it is.
      if (!AskToSaveChanges(list)) return;
      LoadList(mainWindow, list, path.c_str(), ListLoadOpen);
      return;
    case CatalogFound::Damaged:
      ShowMessage(mainWindow, IDS_CATALOG_DAMAGED, MB_ICONEXCLAMATION);
      return;
    case CatalogFound::PathTooLong:
      // Never a second entry for the CD: it would not be found either.
      ShowMessage(mainWindow, IDS_CATALOG_PATH_TOO_LONG, MB_ICONEXCLAMATION);
      return;
    case CatalogFound::NotFound:
      break;
  }
  if (!list.FileName().empty()) {
    // Only a written entry is reported as one: not a failed write, nor a
    // No that started a new list instead.
    bool cataloged = CatalogCurrentList(mainWindow, list, disc.first, disc.second);
    SelectFirstItem();
    if (cataloged) ShowStatusString(IDS_CD_CATALOGED);
  } else {
    ShowMessage(mainWindow, IDS_NOTHING_TO_CATALOG, MB_ICONEXCLAMATION);
    OfferToFillFromCd(mainWindow);
    SelectFirstItem();
  }
}
