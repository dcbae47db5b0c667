#pragma once

// Switching the keyboard between US English and Persian by sending the input-language hot
// key when the active layout is the one to leave.
namespace Module1 {

void SwitchToPersianLayout();
void SwitchToEnglishLayout();
void ToggleInputLanguage();

} // namespace Module1
