// SPDX-License-Identifier: MIT
// Opening the LoRaWAN rules editor (show and load) on 256 uplink and 256 downlink rules, and its OK with
// the save, against the floor of a plain QTableView over a QStandardItemModel holding the same texts in
// a dialog of the same size, which reads and writes the same file with QXmlStreamReader/Writer.
// Both run in one process, interleaved; the medians and their ratio are printed.
//
//   bench_lorawan_editor [runs]                       the benchmark (default 30 runs each)
//   bench_lorawan_editor --show fixed|variable [down] the editor with a few rules, left open (screenshots)
#include "app/AppState.h"
#include "rules/LoRaWANSetAccess.h"
#include "rules/RuleGrid.h"
#include "rules/TFLoRa_Set_Access.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVBoxLayout>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <vector>

using namespace LoRaWAN;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// Rules of every kind: some disabled, the three triggers in turn, a timer where On Timer is set.
RuleLists makeRules(int count) {
    RuleLists rules;
    const auto yn = [](bool b) { return b ? QStringLiteral("Y") : QStringLiteral("N"); };
    for (int i = 0; i < count; ++i) {
        const bool timer = i % 3 == 2;
        rules.uplink.append({yn(i % 7 != 6), QString::number(i * 6), QString::number(4 + i % 5), yn(i % 3 == 0),
                             yn(i % 3 == 1), yn(timer), timer ? QString::number(60 * (1 + i % 10)) : QString(),
                             QString::number(1 + i % 223), QStringLiteral("Tank %1 level and temperature").arg(i)});
        rules.downlink.append({yn(i % 5 != 4), QString::number(1024 + i * 2), QStringLiteral("2"),
                               QString::number(1 + (i + 10) % 223), QStringLiteral("Set point of valve %1").arg(i)});
    }
    return rules;
}

bool writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// A configuration folder under a temporary program folder, with both files.
void prepare(AppState& state, const QString& programFolder, bool fixed, int rules) {
    state.setProgramFolder(programFolder);
    QDir().mkpath(state.ProjectsFolder + QStringLiteral("/Bench"));
    state.ActiveConfigName = QStringLiteral("Bench");
    state.ActiveConfigPath = state.ProjectsFolder + QStringLiteral("/Bench");
    state.catalogue.Build_Default_Texts();
    writeFile(state.ParGenFile(), QByteArray("<Par_Gen><LoRa_Payload_Size>242</LoRa_Payload_Size><LoRa_FPort>") +
                                      (fixed ? "Fixed" : "Variable") + "</LoRa_FPort></Par_Gen>");
    saveRules(state.LoRaWANSetAccessFile(), makeRules(rules));
}

// Runs the event loop until `widget` has painted.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* widget)
        : m_widget(widget) {
        widget->installEventFilter(this);
    }
    void wait() {
        m_painted = false;
        QElapsedTimer limit;
        limit.start();
        while (!m_painted && limit.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_widget && event->type() == QEvent::Paint)
            m_painted = true;
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_widget;
    bool m_painted = false;
};

// The floor: what any table editor of these files has to do.
class PlainEditor : public QDialog {
public:
    explicit PlainEditor(const QString& path)
        : m_path(path) {
        resize(900, 560);
        auto* layout = new QVBoxLayout(this);
        m_view = new QTableView(this);
        layout->addWidget(m_view);
        m_view->setModel(&m_uplink);
    }
    QWidget* viewport() const { return m_view->viewport(); }

    void load() {
        for (QStandardItemModel* m : {&m_uplink, &m_downlink})
            m->clear();
        m_uplink.setColumnCount(UplinkColumns);
        m_downlink.setColumnCount(DownlinkColumns);
        QFile f(m_path);
        if (!f.open(QIODevice::ReadOnly))
            return;
        QXmlStreamReader r(&f);
        QStandardItemModel* list = nullptr;
        while (!r.atEnd()) {
            if (r.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (r.name() == QLatin1String("LoRaWAN_Uplink"))
                list = &m_uplink;
            else if (r.name() == QLatin1String("LoRaWAN_Downlink"))
                list = &m_downlink;
            else if (list) {
                QList<QStandardItem*> row{new QStandardItem(QString::number(list->rowCount()))};
                for (const QXmlStreamAttribute& a : r.attributes())
                    row.append(new QStandardItem(a.value().toString()));
                list->appendRow(row);
            }
        }
    }

    void save() {
        QByteArray out;
        QXmlStreamWriter w(&out);
        w.writeStartElement(QStringLiteral("LoRaWAN_Set_Access"));
        const auto list = [&](const QString& name, const QStandardItemModel& m, const QStringList& attrs) {
            w.writeStartElement(name);
            for (int r = 0; r < m.rowCount(); ++r) {
                w.writeStartElement(QStringLiteral("row"));
                for (int c = 1; c < m.columnCount(); ++c)
                    w.writeAttribute(attrs[c - 1], m.item(r, c) ? m.item(r, c)->text() : QString());
                w.writeEndElement();
            }
            w.writeEndElement();
        };
        const auto names = [](const char* joined) { return QString::fromLatin1(joined).split(QLatin1Char(' ')); };
        list(QStringLiteral("LoRaWAN_Uplink"), m_uplink,
             names("Enable StartByte NumByte OnChange OnCMD OnTimer Time FPort Mnemonic"));
        list(QStringLiteral("LoRaWAN_Downlink"), m_downlink, names("Enable StartByte NumByte FPort Mnemonic"));
        w.writeEndElement();
        w.writeComment(QStringLiteral("SW_VERSION = 1.001"));
        QSaveFile f(m_path);
        if (f.open(QIODevice::WriteOnly) && f.write(out) == out.size())
            f.commit();
        accept();
    }

private:
    QString m_path;
    QTableView* m_view;
    QStandardItemModel m_uplink;
    QStandardItemModel m_downlink;
};

int show(const QString& mode, bool downlink) {
    QTemporaryDir folder;
    AppState state;
    const bool fixed = mode != QLatin1String("variable");
    prepare(state, folder.path(), fixed, 14);
    TFLoRa_Set_Access dlg(state);
    if (!dlg.FormShow())
        return 1;
    if (downlink)
        dlg.findChild<QTabWidget*>(QStringLiteral("PC_LoRa"))->setCurrentIndex(1);
    dlg.activeGrid()->setCurrentCell(3, 2);
    dlg.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.value(0) == QLatin1String("--show"))
        return show(args.value(1), args.value(2) == QLatin1String("down"));

    const int runs = qMax(1, args.value(0, QStringLiteral("30")).toInt());
    QTemporaryDir folder;
    AppState state;
    prepare(state, folder.path(), true, FixedModeRules);
    const QString floorPath = folder.filePath(QStringLiteral("floor.xml"));
    QFile::copy(state.LoRaWANSetAccessFile(), floorPath);

    TFLoRa_Set_Access editor(state);
    PlainEditor plain(floorPath);
    PaintWatch editorPaint(editor.ACG_LoRa_Uplink->viewport());
    PaintWatch plainPaint(plain.viewport());

    std::vector<double> openEditor, okEditor, openPlain, okPlain;
    QElapsedTimer clock;
    for (int i = 0; i <= runs; ++i) { // run 0 warms up
        clock.start();
        editor.FormShow();
        editor.show();
        editorPaint.wait();
        const double o1 = clock.nsecsElapsed() / 1e6;
        clock.start();
        editor.Btn_OKClick();
        const double s1 = clock.nsecsElapsed() / 1e6;
        if (editor.isVisible()) {
            QTextStream(stderr) << "the editor did not close on OK\n";
            return 1;
        }

        clock.start();
        plain.load();
        plain.show();
        plainPaint.wait();
        const double o2 = clock.nsecsElapsed() / 1e6;
        clock.start();
        plain.save();
        const double s2 = clock.nsecsElapsed() / 1e6;
        if (i == 0)
            continue;
        openEditor.push_back(o1);
        okEditor.push_back(s1);
        openPlain.push_back(o2);
        okPlain.push_back(s2);
    }

    QTextStream out(stdout);
    const auto line = [&](const char* what, const std::vector<double>& a, const std::vector<double>& b) {
        out << what << ": editor " << QString::number(median(a), 'f', 2) << " ms, plain view "
            << QString::number(median(b), 'f', 2) << " ms, ratio " << QString::number(median(a) / median(b), 'f', 2)
            << "\n";
    };
    out << runs << " runs each, 256 uplink + 256 downlink rules, medians\n";
    line("open (show and load)", openEditor, openPlain);
    line("OK and save        ", okEditor, okPlain);
    std::vector<double> allEditor, allPlain;
    for (size_t i = 0; i < openEditor.size(); ++i) {
        allEditor.push_back(openEditor[i] + okEditor[i]);
        allPlain.push_back(openPlain[i] + okPlain[i]);
    }
    line("open + OK          ", allEditor, allPlain);
    return 0;
}
