#include "preview/page_renderer.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QString>
#include <vector>

namespace tabulon {
namespace {

QColor ToQColor(PageColor color) {
  return QColor(int(color >> 16 & 0xFF), int(color >> 8 & 0xFF), int(color & 0xFF));
}

}  // namespace

QFont PageQFont(const PageFont& font) {
  // Kept in step with the text measurer's fonts.
  QFont qfont(QString::fromStdString(font.name));
  qfont.setPixelSize(font.pixelSize > 0 ? font.pixelSize : 1);
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  qfont.setHintingPreference(QFont::PreferNoHinting);
  qfont.setKerning(false);
  return qfont;
}

void RenderPage(QPainter& painter, const PageRecord& page) {
  painter.save();
  // A page switches between a handful of fonts: build each once.
  std::vector<QFont> fonts;
  std::vector<qreal> ascents;
  for (const PageFont& font : page.Fonts()) {
    fonts.push_back(PageQFont(font));
    ascents.push_back(QFontMetricsF(fonts.back()).ascent());
  }
  int currentFont = -1;
  for (const PageCommand& command : page.Commands()) {
    switch (command.kind) {
      case PageCommandKind::kFillRect:
        painter.fillRect(QRect(command.a, command.b, command.c - command.a, command.d - command.b),
                         ToQColor(command.color));
        break;
      case PageCommandKind::kText: {
        const std::string_view text = page.TextOf(command);
        const QString qtext = QString::fromUtf8(text.data(), qsizetype(text.size()));
        if (currentFont != command.style) {
          currentFont = command.style;
          painter.setFont(fonts[command.style]);
        }
        const PageFont& font = page.Fonts()[command.style];
        if (command.opaque) {
          const QFontMetricsF metrics(fonts[command.style]);
          painter.fillRect(QRectF(command.a, command.b, metrics.horizontalAdvance(qtext),
                                  metrics.ascent() + metrics.descent()),
                           ToQColor(command.color));
        }
        painter.setPen(ToQColor(font.color));
        // QPainter draws at the baseline; the record holds the top-left corner.
        painter.drawText(QPointF(command.a, command.b + ascents[command.style]), qtext);
        break;
      }
      case PageCommandKind::kLine: {
        const PagePen& pen = page.Pens()[command.style];
        painter.setPen(QPen(ToQColor(pen.color), pen.width > 0 ? pen.width : 1));
        painter.drawLine(QPoint(command.a, command.b), QPoint(command.c, command.d));
        break;
      }
    }
  }
  painter.restore();
}

}  // namespace tabulon
