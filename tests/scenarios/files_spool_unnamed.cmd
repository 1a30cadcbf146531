COM
first line reaches the report
so does the second, with no name asked again
