// Makes the desktop icon from the splash window's logo: the logo centred on
// a transparent square, in the sizes the desktop entry's theme folders use.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "app/splash_logo.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_icon SIZE OUT.png\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  int size = std::atoi(argv[1]);
  QImage logo = zendrel::Draw_splash_logo();
  QImage icon(size, size, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  QImage scaled = logo.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QPainter painter(&icon);
  painter.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
  painter.end();
  return icon.save(argv[2]) ? 0 : 1;
}
