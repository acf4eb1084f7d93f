' Negating a hex literal that is already the most negative value of its
' type widens, as the run-time negation of a variable does (Integer ->
' Long, Long -> Double). Evidence: reasoning: a constant expression must
' give what the same expression gives at run time, and &h8000 is the
' Integer -32768; the third-party suite validated on Windows raises
' -&h8000 as a positive error number.
Dim x
x = -&h8000
WScript.Echo x & " " & TypeName(x)
' expect: 32768 Long
x = -&h80000000&
WScript.Echo x & " " & TypeName(x)
' expect: 2147483648 Double
x = -&hFFFF
WScript.Echo x & " " & TypeName(x)
' expect: 1 Integer
x = -&h10
WScript.Echo x & " " & TypeName(x)
' expect: -16 Integer
Const K = -&h8000
WScript.Echo K & " " & TypeName(K)
' expect: 32768 Long
