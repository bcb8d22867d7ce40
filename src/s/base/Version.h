#pragma once

namespace s::base {

// The library's version text, such as "0.1.0".
const char* libraryVersion();

}  // namespace s::base
