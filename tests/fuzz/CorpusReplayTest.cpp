// Every stored fuzz input runs once through its target, so that what the fuzzers
// found stays mended without clang.
#include "targets/FuzzTargets.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <ostream>

namespace {

struct Corpus {
    const char* folder;
    FuzzTarget target;
};

// Test names in listings show the corpus, not the struct's bytes.
void PrintTo(const Corpus& corpus, std::ostream* out) { *out << corpus.folder; }

class CorpusReplay : public testing::TestWithParam<Corpus> {};

TEST_P(CorpusReplay, EveryInputKeepsEveryProperty)
{
    const QDir folder(QStringLiteral(QUELBRIN_FUZZ_CORPUS_DIR "/") + GetParam().folder);
    const QFileInfoList inputs = folder.entryInfoList(QDir::Files, QDir::Name);
    ASSERT_FALSE(inputs.isEmpty()) << folder.path().toStdString();
    for (const QFileInfo& input : inputs) {
        QFile file(input.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QString broken = GetParam().target(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
        EXPECT_EQ(broken.toStdString(), "") << input.fileName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay,
                         testing::Values(Corpus{"serial_reply", fuzzSerialReply}, Corpus{"sdo_client", fuzzSdoClient},
                                         Corpus{"description", fuzzDescription},
                                         Corpus{"configuration", fuzzConfiguration}, Corpus{"settings", fuzzSettings}),
                         [](const testing::TestParamInfo<Corpus>& info) { return std::string(info.param.folder); });

}  // namespace
