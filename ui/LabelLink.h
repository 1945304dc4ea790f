#pragma once

#include <QLabel>

// The logo: shows ":logo.png" stretched over the label, turns the pointer into
// a hand over it, and opens the program's manual on any mouse press. Its
// tooltip is the program's About text: version, copyright and licence.
class LabelLink : public QLabel
{
    Q_OBJECT

public:
    explicit LabelLink(QWidget *parent);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};
