// Small LAS documents and a write-back target shared by the editing window tests.
#pragma once

#include "core/Lasfile.h"
#include "core/Smoothing.h"
#include "editing/IntervalLimiter.h"
#include "tests/common/TestPaths.h"
#include "ui_IntervalLimiter.h"

#include <QLineEdit>
#include <QString>
#include <QTest>
#include <fstream>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace strativ::test {

// A LAS 2.0 document: DEPT from `top` by `step`, curves named in `names` with the given rows
// (values[c][r]); NULL is -999.25.
inline std::unique_ptr<TLASFile> MakeDocument(const TempDir& dir, const std::vector<std::string>& names,
                                              const std::vector<std::vector<float>>& values, double top = 100.0,
                                              double step = 0.5, const std::string& extraWell = "")
{
    const std::string path = dir.file("doc.las");
    std::ofstream out(path, std::ios::binary);
    const int rows = values.empty() ? 0 : static_cast<int>(values[0].size());
    out << "~VERSION INFORMATION\n VERS.   2.0 : CWLS LAS 2.0\n WRAP.   NO  : One line per depth step\n";
    out << "~WELL INFORMATION\n STRT.M  " << top << " : START\n STOP.M  " << top + step * (rows - 1)
        << " : STOP\n STEP.M  " << step << " : STEP\n NULL.   -999.25 : NULL VALUE\n" << extraWell;
    out << "~CURVE INFORMATION\n DEPT.M  : DEPTH\n";
    for (const std::string& name : names)
        out << " " << name << ".U : " << name << "\n";
    out << "~A\n";
    for (int r = 0; r < rows; ++r) {
        out << top + step * r;
        for (const auto& curve : values)
            out << ' ' << curve[r];
        out << "\n";
    }
    out.close();
    auto document = std::make_unique<TLASFile>(path, 2);
    return document;
}

// A curve written back by the smoothing dialogs, with a count of the writes.
struct WriteBackTarget {
    std::vector<float> samples;
    int writes = 0;
    static void Write(void* context, const ListOfFloatValuesWithIndex& list)
    {
        auto* self = static_cast<WriteBackTarget*>(context);
        ++self->writes;
        for (const FloatValuesWithIndex& record : list)
            std::copy(record.values.begin(), record.values.end(), self->samples.begin() + record.index);
    }
};

// The limits keyed into the range dialog `dialog`, then OK.
inline void TypeLimits(QDialog& dialog, const QString& from, const QString& to)
{
    auto& f = static_cast<TDlgIntervalLimiter&>(dialog).Form();
    for (auto [spin, text] : {std::pair{f.SpEdFrom, from}, std::pair{f.SpEdTo, to}}) {
        auto* edit = spin->findChild<QLineEdit*>();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    f.OKBtn->click();
}

}  // namespace strativ::test
