// SPDX-License-Identifier: GPL-3.0-or-later
// Prints ExecutableDirectory() as it is, for the test that runs a copy of
// this program from directories with unusual names.
#include "platform/Files.h"

#include <cstdio>

int main()
{
    const std::string directory = platform::ExecutableDirectory();
    std::fwrite(directory.data(), 1, directory.size(), stdout);
    return directory.empty() ? 1 : 0;
}
