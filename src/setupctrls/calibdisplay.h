// One display served by the calibration poll. Each field names the variable that holds a
// control, so the control is looked up at every use and may be replaced meanwhile.
#pragma once

class TMemo;
class TButton;
class TControl;

struct TCalibDisplay {
    TMemo** ChannelView = nullptr;    // line n shows channel n
    TButton** ActionButton = nullptr; // reset to a "Start" button when a calibration ends
    TControl** HiddenOnPoll = nullptr; // hidden at the start of every poll
};
