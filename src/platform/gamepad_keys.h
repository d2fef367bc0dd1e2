#pragma once

// What a game controller's buttons and left stick stand for, as PC scan codes.
struct PadKeys {
    int codes[2] = {};
    int count = 0;
};

// The keys an SDL game controller button stands for: the d-pad is the
// arrows, A is Space, Start is Space (to start a game) and P (to pause one),
// Back is Escape, X is C (the palette), Y is M (sound off and on), the left
// shoulder is B (the best games). Other buttons stand for nothing.
PadKeys pcScanCodesForPadButton(int sdlButton);

// The arrow a left-stick axis reading stands for once it is past half
// deflection, or 0. SDL's vertical axis grows downward.
int pcScanCodeForStick(int sdlAxis, int value);
