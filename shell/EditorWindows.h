#pragma once

#include <QDialog>

// Empty until the database editor arrives: the editor (Form3) and its
// record dialog (Form4) exist from start to end, empty for now.
class TForm3 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);
};

class TForm4 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);
};
