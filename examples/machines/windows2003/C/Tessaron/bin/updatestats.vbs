' Tessaron: update site statistics (placeholder)
WScript.Quit 0
