// riviewer TITLE WIDTH HEIGHT: shows a picture arriving on standard input as bucket messages
// (four 32-bit ints x0 y0 x1 y1, then 8-bit RGB rows) and stays open after the input ends,
// until the user closes the window.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSocketNotifier>
#include <QWidget>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

class PictureView : public QWidget
{
public:
    PictureView(const QString& title, int width, int height)
        : image_(width, height, QImage::Format_RGB888), notifier_(0, QSocketNotifier::Read)
    {
        image_.fill(Qt::black);
        setWindowTitle(title);
        setFixedSize(width, height);
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { readMore(); });
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0, image_);
    }

private:
    void readMore()
    {
        char buf[65536];
        ssize_t n = ::read(0, buf, sizeof buf);
        if (n <= 0) {
            notifier_.setEnabled(false); // the render is over; the window stays
            setWindowTitle(windowTitle() + " (done)");
            return;
        }
        pending_.insert(pending_.end(), buf, buf + n);
        for (;;) {
            if (pending_.size() < 16)
                break;
            int32_t h[4];
            std::memcpy(h, pending_.data(), 16);
            if (h[0] < 0 || h[1] < 0 || h[2] > image_.width() || h[3] > image_.height() ||
                h[0] >= h[2] || h[1] >= h[3]) {
                notifier_.setEnabled(false);
                return;
            }
            size_t need = 16 + size_t(h[2] - h[0]) * size_t(h[3] - h[1]) * 3;
            if (pending_.size() < need)
                break;
            const unsigned char* rgb = reinterpret_cast<const unsigned char*>(pending_.data()) + 16;
            for (int y = h[1]; y < h[3]; ++y)
                std::memcpy(image_.scanLine(y) + h[0] * 3,
                            rgb + size_t(y - h[1]) * size_t(h[2] - h[0]) * 3,
                            size_t(h[2] - h[0]) * 3);
            pending_.erase(pending_.begin(), pending_.begin() + long(need));
            update(h[0], h[1], h[2] - h[0], h[3] - h[1]);
        }
    }

    QImage image_;
    QSocketNotifier notifier_;
    std::vector<char> pending_;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: riviewer TITLE WIDTH HEIGHT < buckets\n");
        return 2;
    }
    int w = std::atoi(argv[2]), h = std::atoi(argv[3]);
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384) {
        std::fprintf(stderr, "riviewer: bad size %sx%s\n", argv[2], argv[3]);
        return 2;
    }
    PictureView view(QString::fromLocal8Bit(argv[1]), w, h);
    view.show();
    return app.exec();
}
