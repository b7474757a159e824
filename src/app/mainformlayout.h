// The main window's stored layout, compiled into the program at build time.
#pragma once

#include <string_view>

std::string_view MainFormLayout();
