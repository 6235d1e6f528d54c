// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace bench {

// A benchmark that cannot give a result; the message is what the user sees.
class BenchError : public std::runtime_error
{
public:
    explicit BenchError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace bench
