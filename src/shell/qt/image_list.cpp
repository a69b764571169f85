#include "shell/qt/image_list.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kordavelt {
namespace {

const QColor kInk(40, 40, 48);
const QColor kPaper(255, 255, 255);
const QColor kBlue(30, 100, 180);
const QColor kYellow(240, 190, 40);
const QColor kRed(200, 40, 40);
const QColor kGreen(40, 140, 60);

void Sheet(QPainter& p) {
  QPainterPath page;
  page.moveTo(3, 1);
  page.lineTo(10, 1);
  page.lineTo(13, 4);
  page.lineTo(13, 15);
  page.lineTo(3, 15);
  page.closeSubpath();
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawPath(page);
  p.drawLine(QPointF(10, 1), QPointF(10, 4));
  p.drawLine(QPointF(10, 4), QPointF(13, 4));
}

void Folder(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kYellow);
  QPainterPath folder;
  folder.moveTo(1, 4);
  folder.lineTo(6, 4);
  folder.lineTo(7, 6);
  folder.lineTo(15, 6);
  folder.lineTo(15, 14);
  folder.lineTo(1, 14);
  folder.closeSubpath();
  p.drawPath(folder);
}

void Disk(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kBlue);
  p.drawRect(QRectF(2, 2, 12, 12));
  p.setBrush(kPaper);
  p.drawRect(QRectF(4, 2, 8, 5));
  p.setBrush(QColor(200, 200, 210));
  p.drawRect(QRectF(5, 10, 6, 4));
}

void Printer(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawRect(QRectF(4, 1, 8, 6));
  p.setBrush(QColor(170, 170, 180));
  p.drawRect(QRectF(1, 6, 14, 6));
  p.setBrush(kPaper);
  p.drawRect(QRectF(4, 10, 8, 5));
}

void Magnifier(QPainter& p) {
  p.setPen(QPen(kInk, 2));
  p.setBrush(QColor(200, 230, 255));
  p.drawEllipse(QRectF(2, 2, 8, 8));
  p.drawLine(QPointF(9, 9), QPointF(14, 14));
}

void Arrow(QPainter& p, QColor colour) {
  p.setPen(QPen(colour, 2));
  p.setBrush(Qt::NoBrush);
  QPainterPath path;
  path.moveTo(4, 6);
  path.cubicTo(8, 2, 14, 5, 12, 11);
  p.drawPath(path);
  p.setBrush(colour);
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygonF({QPointF(1, 6), QPointF(6, 2), QPointF(7, 9)}));
}

void Grid(QPainter& p, bool oneRecord) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawRect(QRectF(1, 2, 14, 12));
  p.setBrush(QColor(200, 215, 235));
  p.drawRect(QRectF(1, 2, 14, 3));
  p.setPen(QPen(QColor(120, 120, 140), 1));
  if (oneRecord) {
    for (int y = 7; y <= 12; y += 2) p.drawLine(QPointF(6, y), QPointF(14, y));
    p.drawLine(QPointF(5, 5), QPointF(5, 14));
  } else {
    for (int y = 8; y <= 12; y += 3) p.drawLine(QPointF(1, y), QPointF(15, y));
    p.drawLine(QPointF(6, 2), QPointF(6, 14));
    p.drawLine(QPointF(10, 2), QPointF(10, 14));
  }
}

void Letter(QPainter& p, const QString& text, QColor colour, double size = 9) {
  QFont font = p.font();
  font.setPixelSize(static_cast<int>(size));
  font.setBold(true);
  p.setFont(font);
  p.setPen(colour);
  p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, text);
}

void Busbar(QPainter& p) {
  p.setPen(QPen(kInk, 2));
  p.drawLine(QPointF(1, 4), QPointF(15, 4));
  p.setPen(QPen(kInk, 1));
  for (double x : {4.0, 8.0, 12.0}) p.drawLine(QPointF(x, 4), QPointF(x, 14));
}

void Gear(QPainter& p, QColor colour) {
  p.setPen(QPen(colour, 2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(4, 4, 8, 8));
  for (int i = 0; i < 8; ++i) {
    p.save();
    p.translate(8, 8);
    p.rotate(i * 45);
    p.drawLine(QPointF(0, -5), QPointF(0, -7));
    p.restore();
  }
}

void Paint(QPainter& p, int index) {
  switch (index) {
    case 0:  // new
      Sheet(p);
      break;
    case 1:  // open
      Folder(p);
      break;
    case 2:  // save
      Disk(p);
      break;
    case 3:  // print
      Printer(p);
      break;
    case 4:  // undo delete
      Arrow(p, kBlue);
      break;
    case 6:  // copy
      p.translate(-2, -1);
      Sheet(p);
      p.translate(4, 2);
      Sheet(p);
      break;
    case 7:  // paste
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(180, 130, 70));
      p.drawRect(QRectF(2, 2, 10, 13));
      p.translate(3, 1);
      p.scale(0.8, 0.8);
      Sheet(p);
      break;
    case 8:  // find
      Magnifier(p);
      break;
    case 9:  // copy to file
      Disk(p);
      p.setPen(QPen(kGreen, 2));
      p.drawLine(QPointF(9, 9), QPointF(15, 15));
      break;
    case 10:  // word processor
      Sheet(p);
      Letter(p, QStringLiteral("W"), kBlue);
      break;
    case 11:  // one-record form
      Grid(p, true);
      break;
    case 12:  // table
      Grid(p, false);
      break;
    case 13:  // drawing transfer
      Letter(p, QStringLiteral("A"), kRed, 13);
      break;
    case 14:  // scheme editing
      p.setPen(QPen(kInk, 1));
      p.setBrush(kYellow);
      p.drawPolygon(QPolygonF(
          {QPointF(2, 14), QPointF(3, 10), QPointF(12, 1), QPointF(15, 4), QPointF(6, 13)}));
      break;
    case 16:  // add node
      Busbar(p);
      p.setPen(QPen(kGreen, 2));
      p.drawLine(QPointF(12, 8), QPointF(12, 14));
      p.drawLine(QPointF(9, 11), QPointF(15, 11));
      break;
    case 17:  // add branch
      p.setPen(QPen(kInk, 2));
      p.drawLine(QPointF(1, 3), QPointF(15, 3));
      p.drawLine(QPointF(1, 13), QPointF(15, 13));
      p.setPen(QPen(kGreen, 2));
      p.drawLine(QPointF(8, 3), QPointF(8, 13));
      break;
    case 18:  // frame
      p.setPen(QPen(kInk, 1, Qt::DashLine));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(2, 2, 12, 12));
      break;
    case 19:  // colouring
      p.setPen(QPen(kInk, 1));
      p.setBrush(kRed);
      p.drawRect(QRectF(1, 1, 7, 7));
      p.setBrush(kGreen);
      p.drawRect(QRectF(8, 1, 7, 7));
      p.setBrush(kBlue);
      p.drawRect(QRectF(1, 8, 7, 7));
      p.setBrush(kYellow);
      p.drawRect(QRectF(8, 8, 7, 7));
      break;
    case 21:  // calculation of the regime
      p.setPen(Qt::NoPen);
      p.setBrush(kYellow);
      p.drawPolygon(QPolygonF({QPointF(9, 0), QPointF(3, 9), QPointF(8, 9), QPointF(6, 16),
                               QPointF(13, 6), QPointF(8, 6)}));
      p.setPen(QPen(kInk, 1));
      p.setBrush(Qt::NoBrush);
      p.drawPolygon(QPolygonF({QPointF(9, 0), QPointF(3, 9), QPointF(8, 9), QPointF(6, 16),
                               QPointF(13, 6), QPointF(8, 6)}));
      break;
    case 22:  // calculation
      Letter(p, QStringLiteral("Σ"), kBlue, 14);
      break;
    case 25:  // parameters on the scheme
      Busbar(p);
      Letter(p, QStringLiteral("P"), kRed, 8);
      break;
    case 26:  // reference book
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(150, 60, 40));
      p.drawRect(QRectF(3, 1, 10, 14));
      p.setBrush(kPaper);
      p.drawRect(QRectF(5, 3, 6, 3));
      break;
    case 27:  // window arrangement
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(200, 215, 235));
      p.drawRect(QRectF(1, 1, 9, 7));
      p.setBrush(kPaper);
      p.drawRect(QRectF(6, 7, 9, 8));
      break;
    case 28:  // data format
      Letter(p, QStringLiteral("1.2"), kInk, 8);
      break;
    case 31:  // delete
      p.setPen(QPen(kRed, 2));
      p.drawLine(QPointF(3, 3), QPointF(13, 13));
      p.drawLine(QPointF(13, 3), QPointF(3, 13));
      break;
    case 37:  // scheme view settings
      Busbar(p);
      Gear(p, kBlue);
      break;
    case 39:  // calculation settings
      Gear(p, kInk);
      break;
    default:
      Letter(p, QString::number(index), kInk, 7);
      break;
  }
}

QPixmap Render(int index, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);
  Paint(painter, index);
  return pixmap;
}

}  // namespace

QIcon ImageListIcon(int index) {
  QIcon icon;
  for (int size : {16, 24, 32}) icon.addPixmap(Render(index, size));
  return icon;
}

}  // namespace kordavelt
