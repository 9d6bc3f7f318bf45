# tekkel --help in the form help2man reads: "Usage:" and "or:" lines for the synopsis, the
# commands' paragraphs indented so that each command becomes a tagged paragraph.
s/^usage: /Usage: /
s/^       (tekkel )/  or:  \1/
s/^([a-z]+ {2,})/  \1/
s/^( {8})/  \1/
