// Registers the board view controls and the setup supporter for stored layouts.
#pragma once

class TSetupClasses {
  public:
    static void Register();
};
