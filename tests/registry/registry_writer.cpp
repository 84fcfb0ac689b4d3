// registry_writer CONFIG_HOME NAME COUNT
// One of the writer processes of the registry's two-writer test: writes
// COUNT values i = i*i under HKEY_CURRENT_USER\Software\Writers\NAME of the
// registry in CONFIG_HOME. Exits 0 when every write succeeded.
#include "registry/registry.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: registry_writer CONFIG_HOME NAME COUNT\n");
        return 2;
    }
    setenv("XDG_CONFIG_HOME", argv[1], 1);
    const registry::Key key = registry::Key::currentUser(QStringLiteral("Software\\Writers\\") + QString::fromLocal8Bit(argv[2]));
    const int count = std::atoi(argv[3]);
    for (int i = 0; i < count; ++i) {
        if (!key.setValue(QString::number(i), QString::number(i * i))) {
            std::fprintf(stderr, "registry_writer: value %d was not written\n", i);
            return 1;
        }
    }
    return 0;
}
