#include "app/splash_logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace zendrel {
namespace {

// One landscape scene inside `area`: sky, sun, two ranges of hills, a lake.
void Draw_scene(QPainter& p, const QRectF& area, double sun_x) {
  p.save();
  p.setClipRect(area);
  QLinearGradient sky(area.topLeft(), area.bottomLeft());
  sky.setColorAt(0.0, QColor(60, 120, 200));
  sky.setColorAt(0.65, QColor(250, 205, 140));
  p.fillRect(area, sky);

  QPointF sun(area.left() + area.width() * sun_x, area.top() + area.height() * 0.38);
  double r = area.height() * 0.16;
  QRadialGradient glow(sun, r * 2.6);
  glow.setColorAt(0.0, QColor(255, 240, 170, 220));
  glow.setColorAt(1.0, QColor(255, 240, 170, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawEllipse(sun, r * 2.6, r * 2.6);
  p.setBrush(QColor(255, 226, 90));
  p.drawEllipse(sun, r, r);

  auto hills = [&](double base, double height, double phase, QColor colour) {
    QPainterPath path(QPointF(area.left(), area.bottom()));
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
      double t = double(i) / steps;
      double wave = 0.55 + 0.3 * std::sin((t * 2.3 + phase) * 3.14159) +
                    0.15 * std::sin((t * 5.1 + phase) * 3.14159);
      path.lineTo(area.left() + t * area.width(),
                  area.top() + area.height() * (base - height * wave));
    }
    path.lineTo(area.bottomRight());
    path.closeSubpath();
    p.setBrush(colour);
    p.drawPath(path);
  };
  hills(0.72, 0.30, 0.1, QColor(95, 120, 150));
  hills(0.86, 0.22, 0.7, QColor(60, 110, 70));

  QRectF lake(area.left(), area.top() + area.height() * 0.84, area.width(), area.height() * 0.16);
  QLinearGradient water(lake.topLeft(), lake.bottomLeft());
  water.setColorAt(0.0, QColor(70, 130, 190));
  water.setColorAt(1.0, QColor(30, 70, 120));
  p.fillRect(lake, water);
  p.restore();
}

// A print with a white border and a soft shadow, turned by `angle` degrees
// about its centre.
void Draw_print(QPainter& p, QPointF centre, QSizeF size, double angle, double sun_x) {
  p.save();
  p.translate(centre);
  p.rotate(angle);
  QRectF outer(-size.width() / 2, -size.height() / 2, size.width(), size.height());
  p.setPen(Qt::NoPen);
  for (int i = 4; i >= 1; --i) {
    p.setBrush(QColor(0, 0, 0, 18));
    p.drawRoundedRect(outer.translated(i * 0.8, i * 1.1), 2, 2);
  }
  p.setBrush(QColor(252, 251, 246));
  p.setPen(QPen(QColor(190, 185, 175), 0.8));
  p.drawRect(outer);
  double border = size.width() * 0.06;
  QRectF picture = outer.adjusted(border, border, -border, -border * 2.2);
  Draw_scene(p, picture, sun_x);
  p.setPen(QPen(QColor(120, 120, 120), 0.6));
  p.setBrush(Qt::NoBrush);
  p.drawRect(picture);
  p.restore();
}

}  // namespace

QImage Draw_splash_logo() {
  QImage image(kLogoWidth, kLogoHeight, QImage::Format_RGB888);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  QLinearGradient back(0, 0, 0, kLogoHeight);
  back.setColorAt(0.0, QColor(236, 232, 222));
  back.setColorAt(1.0, QColor(205, 198, 182));
  p.fillRect(image.rect(), back);

  Draw_print(p, QPointF(92, 78), QSizeF(118, 96), -11, 0.25);
  Draw_print(p, QPointF(150, 82), QSizeF(118, 96), 8, 0.8);
  Draw_print(p, QPointF(120, 90), QSizeF(128, 104), -1.5, 0.6);
  p.end();
  return image;
}

}  // namespace zendrel
