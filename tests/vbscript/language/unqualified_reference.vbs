' ".name" outside any With compiles; running it stops the script with
' error 505 (validated on Windows by a third-party suite).
WScript.Echo "runs first"
' expect: runs first
WScript.Echo .Name
WScript.Echo "never"
' expect error: 505
