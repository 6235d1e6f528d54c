#pragma once

#include <QStringView>

#include <optional>

// The integer forms TextToInteger accepts; nothing for any other text.
std::optional<int> ParseInteger(QStringView text);
