// The page template of this build: the web page's HTML, style and compiled
// script (src/web, built by the web preset), carried here as bytes so that
// ludex-pack and the editor write pages with no compiler present. Empty in
// a build made without emscripten.
#pragma once
#include <string>

std::string BuiltPageTemplate();
