# Helpers for the checks that write their figures into a document.

# measured_on: "Measured DATE on CPU (N cores)", for the line under figures
measured_on() {
    printf 'Measured %s on %s (%s cores)' "$(date -u '+%Y-%m-%d %H:%M UTC')" \
        "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)" "$(nproc)"
}

# replace_doc_block FILE NAME < text: puts text between the lines
# "<!-- NAME:begin -->" and "<!-- NAME:end -->" of FILE, which must hold
# both; everything else in the file stays as it is.
replace_doc_block() {
    local file=$1 name=$2 text
    text=$(cat)
    grep -q "^<!-- $name:begin -->$" "$file" && grep -q "^<!-- $name:end -->$" "$file" || {
        echo "no block $name in $file" >&2
        return 1
    }
    BLOCK_TEXT=$text awk -v name="$name" '
        $0 == "<!-- " name ":begin -->" { print; print ENVIRON["BLOCK_TEXT"]; skip = 1; next }
        $0 == "<!-- " name ":end -->" { skip = 0 }
        !skip { print }' "$file" >"$file.new" && mv "$file.new" "$file"
}
