// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TForm2;
}

// The test surface: a black, borderless, top-most window the video benchmark
// shows over the whole screen and paints on. Any mouse button hides it.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

signals:
    // Hidden again: the main window takes the focus back.
    void hidden();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FormMouseDown();

    std::unique_ptr<Ui::TForm2> m_ui;
};
