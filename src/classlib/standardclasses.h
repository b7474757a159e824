// Registers the library's own classes and their published properties for stored layouts.
#pragma once

struct TClassInfo;

class TStandardClasses {
  public:
    static void Register();
    // The panel's bevel and border properties, for classes that publish them.
    static void AddPanelProperties(TClassInfo& info);
};
