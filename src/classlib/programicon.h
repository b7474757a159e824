// The program's icon as PNG files, one per size, smallest first. The program links them in as a
// resource (generated at build time from assets/icons); the application shows them on every
// window.
#pragma once

#include <span>
#include <string_view>

std::span<const std::string_view> ProgramIconPngs();
