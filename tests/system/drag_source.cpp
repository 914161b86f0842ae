// A drag source in a process of its own, as another program drags text:
//   drag_source TEXT ACTIONS DEFAULT   (ACTIONS e.g. "move,copy", DEFAULT "move")
// Shows a small window at 600,500 and writes "ready" once it is drawn; a
// press in it writes "dragging" and starts a drag of TEXT offering ACTIONS
// and proposing DEFAULT.
// While the drag runs, it writes "action NAME" for each action that the
// target answers ("ignore" where it refuses), then "result NAME"; it goes on
// running, as a program does, to hand the target the text it dropped.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QWidget>

#include <cstdio>
#include <map>
#include <string>

namespace {

const std::map<std::string, Qt::DropAction> Actions{{"copy", Qt::CopyAction},
                                                    {"move", Qt::MoveAction},
                                                    {"link", Qt::LinkAction},
                                                    {"ignore", Qt::IgnoreAction}};

const char *nameOf(Qt::DropAction action)
{
    for (const auto &[name, value] : Actions)
        if (value == action)
            return name.c_str();
    return "other";
}

class Source : public QWidget {
public:
    Source(QString text, Qt::DropActions offered, Qt::DropAction proposed)
        : text_(std::move(text)), offered_(offered), proposed_(proposed)
    {
        setWindowFlag(Qt::FramelessWindowHint);
        setGeometry(600, 500, 120, 40);
    }

protected:
    void paintEvent(QPaintEvent * /*event*/) override
    {
        if (drawn_)
            return;
        drawn_ = true;
        say("ready");
    }
    void mousePressEvent(QMouseEvent * /*event*/) override
    {
        say("dragging");
        auto *drag = new QDrag(this);
        auto *data = new QMimeData;
        data->setText(text_);
        drag->setMimeData(data);
        connect(drag, &QDrag::actionChanged, this,
                [](Qt::DropAction action) { say(std::string("action ") + nameOf(action)); });
        say(std::string("result ") + nameOf(drag->exec(offered_, proposed_)));
    }

private:
    static void say(const std::string &line)
    {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }

    bool drawn_ = false;
    QString text_;
    Qt::DropActions offered_;
    Qt::DropAction proposed_;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 4)
        return 2;
    Qt::DropActions offered;
    for (const QString &name : QString::fromLocal8Bit(argv[2]).split(u','))
        offered |= Actions.at(name.toStdString());
    Source source(QString::fromUtf8(argv[1]), offered, Actions.at(argv[3]));
    source.show();
    return QApplication::exec();
}
