' Tessaron: update bandwidth figures (placeholder)
WScript.Quit 0
