"""A desktop notification service for the tests: each Notify call is answered with the number
of the notice it shows and written as one JSON line to the file named on the command line."""

import json
import sys

from gi.repository import Gio, GLib

INTERFACE = """<node><interface name="org.freedesktop.Notifications">
  <method name="Notify">
    <arg type="s"/><arg type="u"/><arg type="s"/><arg type="s"/><arg type="s"/>
    <arg type="as"/><arg type="a{sv}"/><arg type="i"/><arg type="u" direction="out"/>
  </method>
</interface></node>"""


def serve(log):
    numbers = iter(range(1, 1 << 31))

    def called(connection, sender, path, interface, method, args, invocation):
        _, replaces, _, summary, body, _, hints, timeout = args.unpack()
        number = replaces or next(numbers)
        with open(log, "a", encoding="utf-8") as out:
            out.write(json.dumps({"id": number, "summary": summary, "body": body,
                                  "timeout": timeout, "hints": sorted(hints)}) + "\n")
        invocation.return_value(GLib.Variant("(u)", (number,)))

    def connected(connection, name):
        node = Gio.DBusNodeInfo.new_for_xml(INTERFACE)
        connection.register_object("/org/freedesktop/Notifications", node.interfaces[0], called)

    Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.Notifications", Gio.BusNameOwnerFlags.NONE,
                     connected, lambda *_: print("ready", flush=True), None)
    GLib.MainLoop().run()


if __name__ == "__main__":
    serve(sys.argv[1])
