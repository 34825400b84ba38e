// SPDX-License-Identifier: MIT
// Opening the OPC UA variables editor (show and load) on 250 variables, and its OK with the save,
// against the floor of a plain QTableView over a QStandardItemModel holding the same texts in a dialog
// of the same size, which reads and writes the same file with QXmlStreamReader/Writer.
// Both run in one process, interleaved; the medians and their ratio are printed.
//
//   bench_opcua_editor [runs]          the benchmark (default 30 runs each)
//   bench_opcua_editor --show [list]   the editor with a few variables, left open (screenshots); with
//                                      "list", the Type list of a row is open
#include "app/AppState.h"
#include "rules/OpcUaTable.h"
#include "rules/OpcUaVariables.h"
#include "rules/RuleGrid.h"
#include "rules/TFOPC_UA_Server_Access.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <vector>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// Variables of every type, some disabled, both access rights, names and descriptions.
QList<OpcUaVariable> makeVariables(int count) {
    const QStringList types = OpcUaVariables::VarType();
    const QStringList access = OpcUaVariables::RWType();
    QList<OpcUaVariable> vars;
    int position = 0;
    for (int i = 0; i < count; ++i) {
        const QString type = types[i % types.size()];
        const int length = OpcUaVariables::typeNamed(type)->length;
        vars.append({i % 9 != 8, type, QString::number(position % 2000), QString::number(length),
                     QStringLiteral("Tank%1.%2").arg(i / 4).arg(type), access[i % 2],
                     QStringLiteral("Value %1 of line %2").arg(i).arg(i % 7)});
        position += length;
    }
    return vars;
}

void prepare(AppState& state, const QString& programFolder, int variables) {
    state.setProgramFolder(programFolder);
    QDir().mkpath(state.ProjectsFolder + QStringLiteral("/Bench"));
    state.ActiveConfigName = QStringLiteral("Bench");
    state.ActiveConfigPath = state.ProjectsFolder + QStringLiteral("/Bench");
    state.catalogue.Build_Default_Texts();
    OpcUaVariables::save(state.OPCUAServerFile(), makeVariables(variables));
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

// The floor: what any table editor of this file has to do.
class PlainEditor : public QDialog {
public:
    explicit PlainEditor(const QString& path)
        : m_path(path) {
        resize(1200, 337);
        auto* layout = new QVBoxLayout(this);
        m_view = new QTableView(this);
        layout->addWidget(m_view);
        m_view->setModel(&m_model);
    }
    QWidget* viewport() const { return m_view->viewport(); }

    void load() {
        m_model.clear();
        m_model.setColumnCount(8);
        QFile f(m_path);
        if (!f.open(QIODevice::ReadOnly))
            return;
        QXmlStreamReader r(&f);
        bool inList = false;
        while (!r.atEnd()) {
            if (r.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (r.name() == QLatin1String("OPC_UA_Server_Variables")) {
                inList = true;
            } else if (inList) {
                QList<QStandardItem*> row{new QStandardItem(QString::number(m_model.rowCount() + 1))};
                for (const QXmlStreamAttribute& a : r.attributes())
                    row.append(new QStandardItem(a.value().toString()));
                m_model.appendRow(row);
            }
        }
    }

    void save() {
        static const QStringList names =
            QStringLiteral("Enable Type Position Length Name ReadWrite Mnemonic").split(QLatin1Char(' '));
        QByteArray out;
        QXmlStreamWriter w(&out);
        w.writeStartElement(QStringLiteral("OPC_UA_Server"));
        w.writeStartElement(QStringLiteral("OPC_UA_Server_Variables"));
        for (int r = 0; r < m_model.rowCount(); ++r) {
            w.writeStartElement(QStringLiteral("row"));
            for (int c = 1; c < m_model.columnCount(); ++c)
                w.writeAttribute(names[c - 1], m_model.item(r, c) ? m_model.item(r, c)->text() : QString());
            w.writeEndElement();
        }
        w.writeEndElement();
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
    QStandardItemModel m_model;
};

int show(bool openList) {
    QTemporaryDir folder;
    AppState state;
    prepare(state, folder.path(), 0);
    // Enable, Type, Position, Length, Name, R/W, Mnemonic.
    const char* const rows[][7] = {
        {"Y", "Boolean", "0", "1", "Pump.Running", "Read/Write", "Main pump on/off"},
        {"Y", "Int16", "2", "2", "Tank1.Level", "Read Only", "Level in cm"},
        {"Y", "Float", "4", "4", "Boiler.Temperature", "Read Only", "Flow temperature in \u00b0C"},
        {"Y", "Int16", "8", "7", "Tank2.Level", "Read Only", "Stored Length kept, locked by its type"},
        {"N", "String", "16", "24", "Site.Name", "Read/Write", "Disabled: not checked, not in the image"},
        {"Y", "UInt32", "40", "4", "Meter.Counter", "Read Only", "Pulses since reset"},
        {"Y", "Double", "48", "8", "Meter.Energy", "Read Only", "kWh"},
        {"Y", "ByteString", "56", "32", "Device.Serial", "Read Only", ""},
        {"Y", "Signed Byte", "88", "1", "Valve.Trim", "Read/Write", "-100..100"},
    };
    QList<OpcUaVariable> vars;
    for (const auto& r : rows) {
        const auto text = [&r](int i) { return QString::fromUtf8(r[i]); };
        vars.append({text(0) == u"Y", text(1), text(2), text(3), text(4), text(5), text(6)});
    }
    OpcUaVariables::save(state.OPCUAServerFile(), vars);
    TFOPC_UA_Server_Access dlg(state);
    if (!dlg.FormShow())
        return 1;
    dlg.grid()->setCurrentCell(10, OpcUaTable::ColType);
    dlg.show();
    if (openList) {
        QTimer::singleShot(300, &dlg, [&dlg] {
            RuleGrid* grid = dlg.grid();
            grid->setFocus();
            grid->edit(grid->currentIndex());
            if (auto* list = qobject_cast<QComboBox*>(dlg.focusWidget())) {
                list->setCurrentIndex(list->findText(QStringLiteral("Float")));
                list->showPopup();
            }
        });
    }
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.value(0) == QLatin1String("--show"))
        return show(args.value(1) == QLatin1String("list"));

    const int runs = qMax(1, args.value(0, QStringLiteral("30")).toInt());
    QTemporaryDir folder;
    AppState state;
    prepare(state, folder.path(), OpcUaVariables::MaxVariables);
    const QString floorPath = folder.filePath(QStringLiteral("floor.xml"));
    QFile::copy(state.OPCUAServerFile(), floorPath);

    TFOPC_UA_Server_Access editor(state);
    PlainEditor plain(floorPath);
    PaintWatch editorPaint(editor.grid()->viewport());
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
    if (OpcUaVariables::load(state.OPCUAServerFile()).rows.size() != OpcUaVariables::MaxVariables) {
        QTextStream(stderr) << "the editor did not save every variable\n";
        return 1;
    }

    QTextStream out(stdout);
    const auto line = [&](const char* what, const std::vector<double>& a, const std::vector<double>& b) {
        out << what << ": editor " << QString::number(median(a), 'f', 2) << " ms, plain view "
            << QString::number(median(b), 'f', 2) << " ms, ratio " << QString::number(median(a) / median(b), 'f', 2)
            << "\n";
    };
    out << runs << " runs each, 250 variables, medians\n";
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
