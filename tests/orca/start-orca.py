# Starts Orca's own main() for one test session. /usr/bin/orca refuses to
# start while any other process named orca runs on the machine, and its
# --replace would end other sessions' Orcas, so neither is used; this process
# also keeps its own name, so no other Orca sees it.
# Argument: the private settings directory.
import sys

import gi

gi.require_version("Gdk", "3.0")
from orca import orca  # noqa: E402

manager = orca.getSettingsManager()
manager.activate(sys.argv[1], {})
sys.path.insert(0, manager.getPrefsDir())
sys.exit(orca.main())
