// The ordinary build's driver of a fuzz target: runs every input of the target's corpus
// folders, then a fixed series of mutations of them (the same on every run), and fails on a
// finding (the target aborts), an input that takes too long, or one that never ends (a
// watchdog reports it). With clang, libFuzzer's own driver replaces this one (-DLUMORA_FUZZ=ON,
// scripts/fuzz).
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <csignal>
#include <cstdint>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

constexpr qint64 kSlowMs = 3000;   // one input of a few KB taking longer: time grows too fast
constexpr unsigned kStuckSeconds = 60;   // an input still running then never ends

std::vector<QByteArray> corpus(const QString& folder)
{
    std::vector<QByteArray> inputs;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            inputs.push_back(f.readAll());
    }
    return inputs;
}

// A few edits of the kinds a fuzzer makes: bytes changed, inserted, removed, repeated, or
// pieces of another input spliced in.
QByteArray mutate(QByteArray in, const std::vector<QByteArray>& all, std::mt19937& rng)
{
    auto pick = [&](int n) { return n <= 0 ? 0 : int(rng() % unsigned(n)); };
    static const char special[] = "{}\\'*&+-.()=<>#[]\"eEdDhH09 \t\r\n";
    const int edits = 1 + pick(8);
    for (int k = 0; k < edits; ++k) {
        const int at = pick(int(in.size()) + 1);
        switch (pick(6)) {
        case 0:
            if (!in.isEmpty())
                in[pick(int(in.size()))] = char(rng());
            break;
        case 1: in.insert(at, special[pick(sizeof special - 1)]); break;
        case 2: in.remove(at, pick(16)); break;
        case 3: in.insert(at, in.mid(at, pick(32)).repeated(1 + pick(64))); break;
        case 4: {
            const QByteArray& other = all[size_t(pick(int(all.size())))];
            const int from = pick(int(other.size()));
            in.insert(at, other.mid(from, pick(64)));
            break;
        }
        default: in.truncate(at); break;
        }
    }
    return in.left(64 * 1024);
}

const QByteArray* current = nullptr;

// A finding aborts (or crashes) in the target: the input that did it is the report.
extern "C" void reportInput(int signal)
{
    if (current)
        std::fprintf(stderr, "the input of the finding (%lld bytes, hex): %s\n", (long long)current->size(),
                     current->toHex().constData());
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

bool run(const QByteArray& input, const char* what)
{
    QElapsedTimer clock;
    clock.start();
    current = &input;
    alarm(kStuckSeconds);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
    alarm(0);
    current = nullptr;
    if (clock.elapsed() > kSlowMs) {
        std::fprintf(stderr, "slow input (%s, %lld ms, %lld bytes): %s\n", what, clock.elapsed(),
                     (long long)input.size(), input.left(200).toHex().constData());
        return false;
    }
    return true;
}

} // namespace

// replay <corpus folder>... [mutations]
int main(int argc, char** argv)
{
    std::vector<QByteArray> inputs;
    int mutations = 10000;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        bool number = false;
        const int n = arg.toInt(&number);
        if (number) {
            mutations = n;
            continue;
        }
        const std::vector<QByteArray> more = corpus(arg);
        if (more.empty()) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 2;
        }
        inputs.insert(inputs.end(), more.begin(), more.end());
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER... [MUTATIONS]\n", argv[0]);
        return 2;
    }
    for (int signal : {SIGABRT, SIGSEGV, SIGFPE, SIGBUS, SIGILL, SIGALRM})
        std::signal(signal, reportInput);
    bool ok = true;
    for (const QByteArray& input : inputs)
        ok = run(input, "corpus") && ok;
    std::mt19937 rng(20260615);
    for (int i = 0; i < mutations; ++i)
        ok = run(mutate(inputs[size_t(rng() % inputs.size())], inputs, rng), "mutation") && ok;
    std::printf("%zu corpus inputs and %d mutations: %s\n", inputs.size(), mutations, ok ? "no finding" : "slow inputs");
    return ok ? 0 : 1;
}
