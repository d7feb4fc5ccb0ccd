// The banner: plays the movie file when it is an animation Qt can decode; any other file
// (or none) leaves the banner empty, without an error.
#pragma once

#include <QLabel>
#include <QString>

class QMovie;

namespace ui {

class Banner : public QLabel {
    Q_OBJECT
public:
    explicit Banner(const QString& objectName, QWidget* parent = nullptr);

    QString Movie() const { return path_; }
    // The path may use '\' separators, as the program builds it.
    void setMovieFile(const QString& path);
    bool isPlaying() const;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void fitMovie();
    QString path_;
    QMovie* movie_ = nullptr;
};

} // namespace ui
