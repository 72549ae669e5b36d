# Copies a text file with CR LF line ends, the way Notepad on every Windows version shows it:
#   cmake -DIN=<file> -DOUT=<file> -P crlf.cmake
file(READ ${IN} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")
