#pragma once

class Form1;

// The five generation modes in toolbar order: menu item, toolbar tooltip,
// the title the mode shows, whether the character choices are shown, and
// the loader that fills the two lists.
struct Mode {
    const char* menuName;
    const char* menuCaption;
    const char* tooltip;
    const char* title;
    bool characterControls;
    void (Form1::*loader)();
};

extern const Mode kModes[5];
