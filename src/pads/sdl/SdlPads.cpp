#include "SdlPads.h"

#include "NodeWatch.h"

#include <SDL.h>
#include <cstdio>
#include <utility>

SdlPads::~SdlPads()
{
    stop();
}

bool SdlPads::start(PadListener *listener)
{
    // SIGTERM, SIGINT and SIGHUP are the game's own (QuitSignals), even if the environment says otherwise.
    SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "brinmor: game pads cannot be used: %s\n", SDL_GetError());
        return false;
    }
    m_listener = listener;
    read(); // the pads already there
    return true;
}

void SdlPads::stop()
{
    if (!m_listener)
        return;
    for (const auto &[id, node] : m_nodes)
        delete node;
    m_nodes.clear();
    for (const auto &[id, pad] : m_pads)
        SDL_GameControllerClose(pad);
    m_pads.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    m_listener = nullptr;
}

void SdlPads::read()
{
    SDL_PumpEvents();
    SDL_Event event;
    while (m_listener && SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        handle(event);
    if (m_listener && std::exchange(m_changed, false))
        m_listener->padsChanged();
}

bool SdlPads::needsReads() const
{
    for (const auto &[id, pad] : m_pads) {
        const auto node = m_nodes.find(id);
        if (node == m_nodes.end() || !node->second->isWatching())
            return true;
    }
    return false;
}

void SdlPads::handle(const SDL_Event &event)
{
    using Button = PadListener::Button;
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        add(event.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        remove(event.cdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        const int button = event.cbutton.button;
        const Button which = button == SDL_CONTROLLER_BUTTON_A           ? Button::A
                             : button == SDL_CONTROLLER_BUTTON_DPAD_UP   ? Button::Up
                             : button == SDL_CONTROLLER_BUTTON_DPAD_DOWN ? Button::Down
                                                                         : Button::Other;
        if (event.type == SDL_CONTROLLERBUTTONDOWN)
            m_listener->pressed(event.cbutton.which, which);
        else
            m_listener->released(event.cbutton.which, which);
        break;
    }
    default:
        break;
    }
}

void SdlPads::add(int index)
{
    SDL_GameController *pad = SDL_GameControllerOpen(index);
    if (!pad)
        return;
    const int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
    // An index read late may be that of a pad already open: one handle a pad.
    if (!m_pads.emplace(id, pad).second) {
        SDL_GameControllerClose(pad);
        return;
    }
    if (const char *path = SDL_GameControllerPath(pad)) {
        if (NodeWatch *node = NodeWatch::open(path, this)) {
            m_nodes.emplace(id, node);
            connect(node, &NodeWatch::input, this, [this, node] {
                if (!node->isWatching())
                    m_changed = true; // read when the game asks, until SDL sees it gone
                read();
            });
        }
    }
    m_changed = true;
}

void SdlPads::remove(int pad)
{
    // Unplugged or out of battery mid-hold: the hold ends now, like a release.
    m_listener->removed(pad);
    if (const auto node = m_nodes.find(pad); node != m_nodes.end()) {
        node->second->deleteLater(); // perhaps the one whose input is being read
        m_nodes.erase(node);
    }
    if (const auto open = m_pads.find(pad); open != m_pads.end()) {
        SDL_GameControllerClose(open->second);
        m_pads.erase(open);
    }
    m_changed = true;
}
