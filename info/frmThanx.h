#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class ClickLabel;
class LinkLabel;
class ShellLinks;

// The credits window: the Velumo team with its web page and e-mail address as links.
// Top-level and modeless; "Aceptar" closes and deletes it.
class frmThanx : public QWidget {
    Q_OBJECT
public:
    explicit frmThanx(ShellLinks *links, QWidget *parent = nullptr);

    void Label2_Click();
    void Label4_Click();
    void cmdOk_Click();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QLabel *Label1 = nullptr;
    LinkLabel *Label2 = nullptr;
    ClickLabel *Label4 = nullptr;
    QPushButton *cmdOk = nullptr;
    void buildControls();

    ShellLinks *m_links;
};
