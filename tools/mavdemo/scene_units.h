// The demo's units dialog scene.
#pragma once

#include <string>

namespace mavdemo {
// Writes outDir\units_de.png and outDir\units_en.png with millimetres selected. False when one was not written.
bool runUnitsScene(const std::wstring& outDir);
} // namespace mavdemo
