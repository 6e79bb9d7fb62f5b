// The registry (read only) and the shell: reading registered commands, starting programs.
#pragma once

#include "toolkit/Win.h"

#include <string>

namespace slumra::tk {

// The value `name` (empty: the default value) of `key` under `root` as Windows-1252 text, cut
// to 255 characters; empty when the key or value is missing. Opens without creating.
std::string ReadRegistryString(HKEY root, const std::string& key, const std::string& name);

// Opens `address` in the browser registered for HTML documents; true when one was started.
bool OpenWebPage(const std::string& address);

}  // namespace slumra::tk
