// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A monitor's name from its EDID base block: the monitor-name descriptor
// (tag 0xFC), else the maker code and product number in hex, as the
// plug-and-play id reads them ("DELA0B4"). Nothing for a block that is short,
// lacks the fixed header, fails its checksum or has no valid maker code.
std::optional<std::string> MonitorNameFromEdid(std::string_view edid);

} // namespace platform
