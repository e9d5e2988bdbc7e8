#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class ClickLabel;
class LinkLabel;
class PictureBox;
class ShellLinks;
class frmThanx;

// The about window: the product, its maker's web page and e-mail address as links, the
// program's version, and the way to the credits window. Top-level and modeless; the
// opener shows it. "Aceptar" closes and deletes it, so the next opening builds it afresh.
class frmAcerca : public QWidget {
    Q_OBJECT
public:
    explicit frmAcerca(ShellLinks *links, QWidget *parent = nullptr);

    void Label2_Click();
    void Label4_Click();
    void cmdThanx_Click();
    void cmdOk_Click();

    // The credits window while it is open, whichever about window opened it.
    static frmThanx *creditsWindow();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    PictureBox *Image1 = nullptr;
    PictureBox *Image2 = nullptr;
    LinkLabel *Label2 = nullptr;
    ClickLabel *Label4 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label5 = nullptr;
    QPushButton *cmdThanx = nullptr;
    QPushButton *cmdOk = nullptr;
    void buildControls();
    void Form_Load();

    ShellLinks *m_links;
};

// "        Version Freeware " and the program's major, minor and revision numbers.
QString versionLine();
