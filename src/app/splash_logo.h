// The splash window's logo, drawn by the program itself: a small stack of
// photographs of a sunny landscape, 241 by 166 pixels, 24-bit.
#pragma once

#include <QImage>

namespace zendrel {

constexpr int kLogoWidth = 241;
constexpr int kLogoHeight = 166;

QImage Draw_splash_logo();

}  // namespace zendrel
