#include "appicons.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>

namespace brevnote {

namespace {

QPixmap letterPixmap(QChar letter, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0, 0, 128));
    painter.setBrush(QColor(230, 236, 250));
    painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1.0, size - 1.0), size / 5.0, size / 5.0);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(size * 2 / 3);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString(letter));
    return pixmap;
}

QPixmap notePixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(120, 100, 20), size / 16.0));
    painter.setBrush(QColor(255, 240, 140));
    const double margin = size / 10.0;
    painter.drawRect(QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
    painter.setPen(QPen(QColor(0, 0, 128), size / 12.0));
    for (int row = 1; row <= 3; ++row) {
        const double y = margin + row * (size - 2 * margin) / 4.0;
        painter.drawLine(QPointF(margin * 2, y), QPointF(size - margin * 2, y));
    }
    return pixmap;
}

} // namespace

QIcon themedIcon(const QString &themeName, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(themeName, QApplication::style()->standardIcon(fallback));
}

QIcon themedIcon(const QString &themeName, QChar fallbackLetter) {
    QIcon drawn;
    for (const int size : {16, 24, 32})
        drawn.addPixmap(letterPixmap(fallbackLetter, size));
    return QIcon::fromTheme(themeName, drawn);
}

QIcon trayIconImage() {
    QIcon icon;
    for (const int size : {16, 22, 32, 48})
        icon.addPixmap(notePixmap(size));
    return icon;
}

} // namespace brevnote
