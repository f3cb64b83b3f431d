// Lays pictures out side by side on one sheet: rows of COLUMNS pictures, each row headed by
// its label and each column by the column labels. A picture that is missing or does not decode
// leaves a grey cell saying so, so a sheet always shows which views failed.
//
//   make_overview OUT.png COLUMNS ROWLABEL... -- COLUMNLABEL... -- PICTURE...
//
// Pictures are given row by row; every cell is 400 x 300 pixels.
#include <QColor>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kCellWidth = 400, kCellHeight = 300, kGap = 6, kRowHead = 120, kColumnHead = 28;

std::vector<std::string> takeUntilSeparator(char** args, int count, int& at)
{
    std::vector<std::string> taken;
    while (at < count && std::string(args[at]) != "--")
        taken.push_back(args[at++]);
    if (at < count)
        ++at; // the separator
    return taken;
}

void drawCell(QPainter& p, const QRect& cell, const std::string& path)
{
    const QImage picture(QString::fromStdString(path));
    if (picture.isNull()) {
        p.fillRect(cell, QColor(90, 90, 96));
        p.setPen(QColor(230, 230, 230));
        p.drawText(cell, Qt::AlignCenter, QStringLiteral("no picture"));
        return;
    }
    const QImage scaled =
        picture.scaled(cell.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    p.fillRect(cell, Qt::black);
    p.drawImage(cell.x() + (cell.width() - scaled.width()) / 2,
                cell.y() + (cell.height() - scaled.height()) / 2, scaled);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: make_overview OUT.png COLUMNS ROWLABEL... -- COLUMNLABEL... -- "
                     "PICTURE...\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::string out = argv[1];
    const int columns = std::atoi(argv[2]);
    int at = 3;
    const std::vector<std::string> rows = takeUntilSeparator(argv, argc, at);
    const std::vector<std::string> heads = takeUntilSeparator(argv, argc, at);
    const std::vector<std::string> pictures(argv + at, argv + argc);
    if (columns < 1 || rows.empty() || pictures.size() != rows.size() * size_t(columns)) {
        std::fprintf(stderr, "make_overview: %zu pictures do not fill %zu rows of %d\n",
                     pictures.size(), rows.size(), columns);
        return 2;
    }

    QImage sheet(kRowHead + columns * (kCellWidth + kGap) + kGap,
                 kColumnHead + int(rows.size()) * (kCellHeight + kGap) + kGap,
                 QImage::Format_RGB32);
    sheet.fill(QColor(244, 244, 240));
    QPainter p(&sheet);
    QFont font = p.font();
    font.setPixelSize(16);
    p.setFont(font);
    p.setPen(QColor(30, 30, 30));
    for (int c = 0; c < columns && c < int(heads.size()); ++c)
        p.drawText(QRect(kRowHead + kGap + c * (kCellWidth + kGap), 0, kCellWidth, kColumnHead),
                   Qt::AlignCenter, QString::fromStdString(heads[size_t(c)]));
    for (size_t r = 0; r < rows.size(); ++r) {
        const int y = kColumnHead + int(r) * (kCellHeight + kGap) + kGap;
        p.setPen(QColor(30, 30, 30));
        p.drawText(QRect(4, y, kRowHead - 8, kCellHeight),
                   Qt::AlignVCenter | Qt::AlignRight | Qt::TextWordWrap,
                   QString::fromStdString(rows[r]));
        for (int c = 0; c < columns; ++c)
            drawCell(p,
                     QRect(kRowHead + kGap + c * (kCellWidth + kGap), y, kCellWidth, kCellHeight),
                     pictures[r * size_t(columns) + size_t(c)]);
    }
    p.end();
    if (!sheet.save(QString::fromStdString(out))) {
        std::fprintf(stderr, "make_overview: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
