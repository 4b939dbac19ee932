// A separate process for the store tests: QSettings caches what it has read inside a
// process, so only a fresh process shows what is really on disk.
//   store_probe load FILE         prints the loaded best as a hex float
//   store_probe save FILE VALUE   stores VALUE as a new best; prints "unsaved" if it could not
//   store_probe play FILE VALUE   a game on FILE that sets two records, VALUE and VALUE + 1
//   store_probe reset FILE
//   store_probe records FILE      stores ever greater bests until killed, printing each
#include "ContentView.h"
#include "FakeClock.h"
#include "FakeTimer.h"
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
        if (!store.saveBest(std::strtod(argv[3], nullptr)))
            std::printf("unsaved\n");
    } else if (std::strcmp(command, "play") == 0 && argc == 4) {
        auto clock = std::make_shared<FakeClock>();
        auto timer = std::make_shared<FakeTimer>();
        ContentView game({clock, timer, std::make_shared<SettingsStore>(QString::fromLocal8Bit(argv[2]))});
        for (double seconds : {std::strtod(argv[3], nullptr), std::strtod(argv[3], nullptr) + 1}) {
            game.startHolding();
            clock->advance(std::chrono::duration<double>(seconds));
            timer->fire();
            game.stopHolding();
        }
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
