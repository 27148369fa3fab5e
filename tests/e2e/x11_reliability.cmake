# Abuse of the native window: hostile sizes, storms, close requests, a vanishing X server.
