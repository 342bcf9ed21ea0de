#pragma once

// A text that is a link: link, visited and hover colours, an underline that may follow the
// pointer, a hand cursor, the URL as its tool tip; a click asks the desktop to open the URL and
// reports a failure.

#include <QBasicTimer>
#include <QColor>
#include <QLabel>

#include <functional>

class QUrl;

namespace korvane {

class UserReporter;

enum class UnderlineMode : int { Never = 0, Always = 1, WhileOver = -1 };

inline constexpr int kHoverTimerId = 100; // the hover check, every 100 ms
inline constexpr int kHoverMilliseconds = 100;
inline const QColor kLinkColour{0, 0, 238};
inline const QColor kVisitedColour{85, 26, 139};
inline const QColor kHoverColour{255, 0, 0};

class CLinkStatic : public QLabel {
    Q_OBJECT
public:
    // Asks the desktop to open a URL; answers above 32 mean it was opened.
    using UrlOpener = std::function<int(const QUrl& url)>;

    // An empty url takes the text, an empty text takes the url.
    CLinkStatic(const QString& text, const QString& url, UserReporter* reporter,
                QWidget* parent = nullptr);

    void SetUrl(const QString& url);
    const QString& url() const { return url_; }
    void SetColours(const QColor& link, const QColor& visited, const QColor& hover);
    void SetVisited(bool visited);
    bool visited() const { return visited_; }
    void SetUnderline(UnderlineMode mode);
    UnderlineMode underline() const { return underline_; }
    void SetAdjustToFit(bool adjust) { adjustToFit_ = adjust; }
    void SetOpener(UrlOpener opener) { opener_ = std::move(opener); }

    // Opens the URL; returns the desktop's answer.
    int GoToUrl();
    // The hover check: pointer in client coordinates.
    void HoverCheck(const QPoint& pointer);

    bool pointerOver() const { return over_; }
    bool hoverTimerActive() const { return hoverTimer_.isActive(); }
    QColor textColour() const;
    bool underlined() const { return font().underline(); }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void UpdateLook();
    void Clicked();

    QString url_;
    QColor linkColour_ = kLinkColour;
    QColor visitedColour_ = kVisitedColour;
    QColor hoverColour_ = kHoverColour;
    bool visited_ = false;
    bool over_ = false;
    bool adjustToFit_ = true;
    UnderlineMode underline_ = UnderlineMode::WhileOver;
    QBasicTimer hoverTimer_;
    UserReporter* reporter_;
    UrlOpener opener_;
};

} // namespace korvane
