' Only the registered ProgIDs can be created.
Set fso = CreateObject("Scripting.FileSystemObject")
' expect error: 429
