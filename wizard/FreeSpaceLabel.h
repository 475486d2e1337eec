#pragma once

#include <QLabel>
#include <QList>
#include <QPointer>
#include <QScrollArea>

// A text in the free space of a screen: below the lowest visible anchor and
// above the limit, outside the screen's layout, so that showing it never
// moves or resizes a control of the screen. Text taller than the space
// scrolls; the tooltip holds all of it.
class FreeSpaceLabel : public QScrollArea
{
    Q_OBJECT
public:
    FreeSpaceLabel(QWidget* screen, const QList<QWidget*>& anchors, QWidget* limit);

    void setText(const QString& text);
    QLabel* label() const { return m_label; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    QLabel* m_label;
    QList<QPointer<QWidget>> m_anchors;
    QPointer<QWidget> m_limit;
};
