' A Null length is an invalid use of Null, not a Null result.
WScript.Echo Left("abc", Null)
' expect error: 94
