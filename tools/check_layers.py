#!/usr/bin/env python3
# Fails when a source of a lower layer includes a header of a higher one, so
# a wrong include shows in the suite before it shows as a link error.
# Usage: check_layers.py TOP        checks the tree at TOP
#        check_layers.py --self-test checks that the rule catches what it should
import os
import re
import sys
import tempfile

# What each layer may include, besides itself. res/ holds the resource ids
# and is on the include path of every layer.
ALLOWED = {
    "framework": {"res"},
    "proxy": {"framework", "res"},
    "net": {"framework", "proxy", "res"},
    "toolkit": {"framework", "res"},
    "app": {"framework", "proxy", "net", "toolkit", "res"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def layer_of_include(top, source_dir, name):
    """The top directory the quoted include names, as the compiler finds it."""
    for base in (source_dir, top, os.path.join(top, "framework"), os.path.join(top, "res")):
        path = os.path.normpath(os.path.join(base, name))
        if os.path.isfile(path):
            return os.path.relpath(path, top).split(os.sep)[0]
    return None


def check(top):
    faults = []
    for layer in ALLOWED:
        for root, _, files in os.walk(os.path.join(top, layer)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(root, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        target = layer_of_include(top, root, m.group(1))
                        if target is None or target == layer or target in ALLOWED[layer]:
                            continue
                        faults.append("%s:%d: %s includes %s (layer %s)"
                                      % (os.path.relpath(path, top), number, layer,
                                         m.group(1), target))
    return faults


def self_test():
    with tempfile.TemporaryDirectory() as top:
        def write(path, text):
            os.makedirs(os.path.dirname(os.path.join(top, path)), exist_ok=True)
            with open(os.path.join(top, path), "w") as f:
                f.write(text)
        for layer in ALLOWED:
            write(layer + "/A.h", "#pragma once\n")
        write("framework/afx.h", "#pragma once\n")
        write("res/resource.h", "#pragma once\n")
        write("tests/Helper.h", "#pragma once\n")
        good = ('#include "afx.h"\n#include "resource.h"\n#include "A.h"\n'
                '#include <windows.h>\n')
        write("proxy/Good.cpp", good + '#include "framework/A.h"\n')
        write("app/Good.cpp", good + '#include "net/A.h"\n#include "toolkit/A.h"\n')
        if check(top):
            return ["self-test: downward includes reported: %s" % check(top)]
        cases = [("proxy/Bad.cpp", '#include "net/A.h"\n'),
                 ("net/Bad.h", '  #  include "app/A.h"\n'),
                 ("toolkit/Bad.cpp", '#include "proxy/A.h"\n'),
                 ("framework/root/Bad.cpp", '#include "../../toolkit/A.h"\n'),
                 ("app/Bad.cpp", '#include "tests/Helper.h"\n')]
        faults = []
        for path, text in cases:
            write(path, text)
            if len(check(top)) != 1:
                faults.append("self-test: %s with %s not reported once" % (path, text.strip()))
            os.remove(os.path.join(top, path))
        return faults


def main():
    if len(sys.argv) != 2:
        print(__doc__ or "usage: check_layers.py TOP | --self-test", file=sys.stderr)
        return 2
    faults = self_test() if sys.argv[1] == "--self-test" else check(sys.argv[1])
    for fault in faults:
        print(fault)
    if not faults:
        print("layers: every include points down")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
