# Long runs of the real program: resource counts, resident memory, leak checking.
