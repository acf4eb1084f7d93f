' Calling a procedure nobody defined is a type mismatch.
WScript.Echo "before"
' expect: before
NoSuchThing 1, 2
' expect error: 13
