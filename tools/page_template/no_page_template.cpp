// A build without emscripten carries no page template: the page maker says so.
#include "page_template.h"

std::string BuiltPageTemplate() { return std::string(); }
