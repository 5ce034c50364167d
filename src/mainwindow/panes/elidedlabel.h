#pragma once

#include <QLabel>

// One line of plain text that gives up room before its neighbours do: where
// it is too narrow for its text, it shows the text cut with "…" as its mode
// says, and the whole text in its tip.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(Qt::TextElideMode mode, QWidget *parent = nullptr);

    void setFullText(const QString &text);
    [[nodiscard]] const QString &fullText() const { return m_fullText; }

    // As wide as the whole text, and as narrow as "…".
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // The room that the label takes beside its text: margins, frame, indent.
    [[nodiscard]] int widthBesideText() const;
    void elide();

    const Qt::TextElideMode m_mode;
    QString m_fullText;
};
