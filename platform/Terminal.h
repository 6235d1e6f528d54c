#pragma once

namespace platform {

// True when standard error is a terminal (a person watching, not a pipe).
bool StandardErrorIsTerminal();

} // namespace platform
