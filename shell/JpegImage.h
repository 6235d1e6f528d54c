// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <stdexcept>

// A JPEG that libjpeg cannot decode; the message says why.
class JpegError : public std::runtime_error
{
public:
    explicit JpegError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// Decodes a JPEG held in memory into an RGB image with libjpeg. Corrupt or
// truncated data raises JpegError.
QImage DecodeJpeg(const QByteArray& data);

// Reads a file or resource (":/pictures/...") and decodes it.
QImage LoadJpeg(const QString& path);
