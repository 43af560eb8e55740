// The demo's label edit scene: the label edit dialog with a label's German, English and French texts.
#pragma once

#include <string>

namespace mavdemo {

// Opens the label edit dialog (several lines allowed) on a label with a two-line German text and its English and
// French texts, and saves outDir\label_edit.png, then the same with the list's context menu open as
// outDir\label_edit_menu.png. False when a picture could not be taken.
bool runLabelEditScene(const std::wstring& outDir);

} // namespace mavdemo
