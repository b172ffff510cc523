// Makes the sample family's sound cues: one short synthesised chime for every file name the sound
// configuration lists, and the three fixed cues. Files that exist already are left alone, so a family's
// own recordings are never overwritten.

#include "sound/sound_table.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int kRate = 22050;

struct Note {
    double frequency; // Hz; 0 for a rest
    double seconds;
};

// A bell-like tone: a sine with a soft attack, an exponential decay and a quiet octave partial.
void appendNote(std::vector<qint16>& samples, const Note& note, double volume) {
    const int count = static_cast<int>(note.seconds * kRate);
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / kRate;
        const double attack = std::min(1.0, t / 0.01);
        const double decay = std::exp(-4.0 * t / note.seconds);
        const double w = 2 * std::numbers::pi * note.frequency * t;
        const double value = note.frequency > 0 ? (std::sin(w) + 0.3 * std::sin(2 * w)) / 1.3 : 0.0;
        samples.push_back(static_cast<qint16>(value * attack * decay * volume * 32767));
    }
}

QByteArray wavBytes(const std::vector<qint16>& samples) {
    QByteArray data;
    auto put32 = [&data](quint32 v) {
        for (int i = 0; i < 4; ++i)
            data.append(char((v >> (8 * i)) & 0xFF));
    };
    auto put16 = [&data](quint16 v) {
        data.append(char(v & 0xFF));
        data.append(char(v >> 8));
    };
    const quint32 dataSize = static_cast<quint32>(samples.size() * 2);
    data.append("RIFF");
    put32(36 + dataSize);
    data.append("WAVEfmt ");
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(kRate);
    put32(kRate * 2);
    put16(2);
    put16(16);
    data.append("data");
    put32(dataSize);
    for (qint16 s : samples)
        put16(static_cast<quint16>(s));
    return data;
}

// Notes per kind of cue; `variant` shifts the pitch so the names of one event sound a little different.
std::vector<Note> melodyFor(int event, int variant) {
    const double shift = std::pow(2.0, variant * 2 / 12.0);
    auto scaled = [shift](std::vector<Note> notes) {
        for (Note& n : notes)
            n.frequency *= shift;
        return notes;
    };
    switch (event) {
    case warizan::kCorrect1:
    case warizan::kCorrect2:
        return scaled({{880, 0.12}, {1318.5, 0.25}});
    case warizan::kWrong1:
    case warizan::kWrong2:
        return scaled({{196, 0.18}, {0, 0.04}, {185, 0.3}});
    case warizan::kPersonal1:
    case warizan::kPersonal2:
    case warizan::kPersonal3:
        return scaled({{523.3, 0.12}, {659.3, 0.12}, {784, 0.12}, {1046.5, 0.45}});
    case warizan::kFail1:
        return scaled({{392, 0.2}, {349.2, 0.2}, {293.7, 0.5}});
    default:
        return scaled({{659.3, 0.15}, {784, 0.3}});
    }
}

bool writeIfMissing(const QString& path, const std::vector<Note>& notes, QTextStream& err) {
    if (QFile::exists(path))
        return true;
    std::vector<qint16> samples;
    for (const Note& n : notes)
        appendNote(samples, n, 0.6);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(wavBytes(samples)) < 0) {
        err << "cannot write " << path << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: make-chimes SOUND_FOLDER\n";
        return 2;
    }
    // The arguments as the system gave them: on Windows argv is in the ANSI code page, which may lack the
    // folder's Japanese name.
    const QString folder = QCoreApplication::arguments().at(1) + u'/';
    warizan::SoundState sound;
    QString why;
    if (!warizan::loadSoundTable(folder + warizan::kSoundTableFileName, sound, &why)) {
        err << why << '\n';
        return 1;
    }
    bool ok = true;
    for (int event = 1; event <= warizan::kSoundEvents; ++event) {
        const int count = warizan::soundFileCount(sound, event);
        for (int i = 1; i <= count; ++i) {
            const QString& name = sound.soundTable[event][i];
            if (!name.isEmpty())
                ok &= writeIfMissing(folder + name + QStringLiteral(".wav"), melodyFor(event, i - 1), err);
        }
    }
    ok &= writeIfMissing(folder + QStringLiteral("最高1.wav"),
                         {{523.3, 0.1}, {659.3, 0.1}, {784, 0.1}, {1046.5, 0.1}, {1318.5, 0.6}}, err);
    ok &= writeIfMissing(folder + QStringLiteral("合格.wav"), {{784, 0.15}, {988, 0.15}, {1174.7, 0.5}}, err);
    ok &= writeIfMissing(folder + QStringLiteral("警告1.wav"), {{1760, 0.08}}, err);
    return ok ? 0 : 1;
}
