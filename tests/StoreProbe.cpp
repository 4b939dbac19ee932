// A separate process for the store tests: QSettings caches what it has read inside a
// process, so only a fresh process shows what is really on disk.
//   store_probe load FILE         prints the loaded best as a hex float
//   store_probe save FILE VALUE   stores VALUE as a new best
//   store_probe reset FILE
//   store_probe records FILE      stores ever greater bests until killed, printing each
#include "SettingsStore.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    SettingsStore store(QString::fromLocal8Bit(argv[2]));
    const char *command = argv[1];
    if (std::strcmp(command, "load") == 0) {
        std::printf("%a\n", store.load());
    } else if (std::strcmp(command, "save") == 0 && argc == 4) {
        store.saveBest(std::strtod(argv[3], nullptr));
    } else if (std::strcmp(command, "reset") == 0) {
        store.saveReset();
    } else if (std::strcmp(command, "records") == 0) {
        for (double best = store.load() + 0.01;; best += 0.01) {
            store.saveBest(best);
            std::printf("%a\n", best);
            std::fflush(stdout);
        }
    } else {
        return 2;
    }
    return 0;
}
