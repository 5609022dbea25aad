#include "mainsettings.h"

#include "registry.h"

namespace {

// The values in the order they are read and written.
struct Value {
    const char *name;
    int MainSettings::*integer; // or
    bool MainSettings::*flag;
};
constexpr Value Values[] = {
    {"Sound", &MainSettings::sound, nullptr},
    {"Style", &MainSettings::style, nullptr},
    {"Repeat", nullptr, &MainSettings::repeat},
    {"Highlight", nullptr, &MainSettings::highlight},
};

} // namespace

int MainSettings::read(Registry &registry)
{
    int done = 0;
    for (const Value &v : Values) {
        const QString name = QLatin1String(v.name);
        if (v.integer) {
            const std::optional<int> read = registry.readInteger(name);
            if (!read)
                break;
            this->*v.integer = *read;
        } else {
            const std::optional<bool> read = registry.readBool(name);
            if (!read)
                break;
            this->*v.flag = *read;
        }
        ++done;
    }
    return done;
}

void MainSettings::write(Registry &registry) const
{
    for (const Value &v : Values) {
        const QString name = QLatin1String(v.name);
        if (v.integer)
            registry.writeInteger(name, this->*v.integer);
        else
            registry.writeBool(name, this->*v.flag);
    }
}
