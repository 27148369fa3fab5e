# Abuse of the Windows build under Wine: refused timer, close requests in awkward moments.
