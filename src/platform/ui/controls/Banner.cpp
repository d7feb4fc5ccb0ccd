#include "platform/ui/controls/Banner.h"

#include "platform/sys/ProgramFolder.h"

#include <QFileInfo>
#include <QMovie>
#include <QResizeEvent>

namespace ui {

Banner::Banner(const QString& objectName, QWidget* parent) : QLabel(parent)
{
    setObjectName(objectName);
    setAlignment(Qt::AlignCenter);
}

void Banner::setMovieFile(const QString& path)
{
    path_ = path;
    if (movie_) {
        movie_->stop();
        setMovie(nullptr);
        delete movie_;
        movie_ = nullptr;
    }
    clear();
    const QString local = sys::localPath(path);
    if (!QFileInfo(local).isFile())
        return;
    auto* movie = new QMovie(local, QByteArray(), this);
    if (!movie->isValid() || movie->frameCount() == 0) {
        delete movie;
        return;
    }
    movie_ = movie;
    fitMovie();
    setMovie(movie_);
    movie_->start();
}

bool Banner::isPlaying() const { return movie_ && movie_->state() == QMovie::Running; }

void Banner::resizeEvent(QResizeEvent* e)
{
    QLabel::resizeEvent(e);
    fitMovie();
}

// The movie keeps its proportions and fills the banner's height.
void Banner::fitMovie()
{
    if (!movie_)
        return;
    movie_->jumpToFrame(movie_->currentFrameNumber() < 0 ? 0 : movie_->currentFrameNumber());
    const QSize natural = movie_->currentImage().size();
    if (natural.isEmpty() || height() <= 0 || width() <= 0)
        return;
    movie_->setScaledSize(natural.scaled(size(), Qt::KeepAspectRatio));
}

} // namespace ui
