COM
first line reaches the report
so does the second, reported once
