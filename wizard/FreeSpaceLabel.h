#pragma once

#include <QLabel>
#include <QList>
#include <QPointer>

// A text in the free space of a screen: below the lowest visible anchor and
// above the limit, outside the screen's layout, so that showing it never
// moves or resizes a control of the screen. Text that does not fit is cut
// off; the tooltip holds all of it.
class FreeSpaceLabel : public QLabel
{
    Q_OBJECT
public:
    FreeSpaceLabel(QWidget* screen, const QList<QWidget*>& anchors, QWidget* limit);

    void setText(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    QList<QPointer<QWidget>> m_anchors;
    QPointer<QWidget> m_limit;
};
