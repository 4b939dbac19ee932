#pragma once

#include "PadSource.h"

#include <QObject>
#include <map>

class NodeWatch;
struct _SDL_GameController;
union SDL_Event;

// The pads through SDL's game-controller API and its mapping database: the root of the pads' part.
class SdlPads : public QObject, public PadSource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PadSource_iid)
    Q_INTERFACES(PadSource)

public:
    ~SdlPads() override;

    bool start(PadListener *listener) override;
    void stop() override;
    void read() override;
    bool needsReads() const override;

private:
    void handle(const SDL_Event &event);
    void add(int index);
    void remove(int pad);

    PadListener *m_listener = nullptr;
    // Pads came or went, or a node ended, since the listener last heard.
    bool m_changed = false;
    // By SDL's instance id.
    std::map<int, _SDL_GameController *> m_pads;
    std::map<int, NodeWatch *> m_nodes;
};
