#include "ResourceImage.h"

TResourceImage::TResourceImage(QWidget* parent) : QWidget(parent)
{
    resize(32, 32);
}

TResourceImage::~TResourceImage() = default;
