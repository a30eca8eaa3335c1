// The settings window model arrives here.
