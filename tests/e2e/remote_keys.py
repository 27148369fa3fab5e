#!/usr/bin/env python3
"""Presses keys on a mutter session through its remote desktop interface on the session bus,
as a user at the keyboard would: mutter's own bindings act on the focused window.

usage: remote_keys.py COMBO...    e.g. alt+F4 (close), alt+F10 (maximise or restore)

Each combo's keys go down in order and up in reverse. The session lasts as long as this
connection to the bus, so all combos go through one. Exits 1 when mutter refuses.
"""
import sys
import time

import dbus

KEYSYMS = {"alt": 0xFFE9, "F4": 0xFFC1, "F8": 0xFFC5, "F10": 0xFFC7}
SERVICE = "org.gnome.Mutter.RemoteDesktop"
PAUSE = 0.05  # between key events, so that mutter sees them as a user's


def main(argv):
    try:
        bus = dbus.SessionBus()
        desktop = dbus.Interface(bus.get_object(SERVICE, "/org/gnome/Mutter/RemoteDesktop"),
                                 SERVICE)
        session = dbus.Interface(bus.get_object(SERVICE, desktop.CreateSession()),
                                 SERVICE + ".Session")
        session.Start()
        for combo in argv:
            keys = [KEYSYMS[name] for name in combo.split("+")]
            for key in keys:
                session.NotifyKeyboardKeysym(dbus.UInt32(key), True)
                time.sleep(PAUSE)
            for key in reversed(keys):
                session.NotifyKeyboardKeysym(dbus.UInt32(key), False)
                time.sleep(PAUSE)
        session.Stop()
    except dbus.DBusException as error:
        print("remote_keys.py: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
