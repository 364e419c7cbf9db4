#pragma once
// The window's entry to the workshop pack: "Workshop pack…" in the Sheets page's print menu and in
// the pop-up menu of its cutting sheets. It asks for the paper, the labels and the cut sequence
// (the last choice preset), then opens the pack's pages in the print preview (printer, page range,
// copies, Save as PDF).
class QAction;

namespace lintaro {

class TLNEAppForm;

// Adds the command to the window's menus; returns the action (owned by the window).
QAction* InstallWorkshopPackCommand(TLNEAppForm& window);
// Opens the preview of the window order's pack; tells the user when there is nothing to show.
void ShowWorkshopPack(TLNEAppForm& window);

} // namespace lintaro
