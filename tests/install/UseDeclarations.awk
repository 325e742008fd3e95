# Reads clang's text dump (-Xclang -ast-dump) of a translation unit that includes every installed header and
# writes a C++ source that odr-uses every function those headers declare without defining: each one is called
# by its qualified name (so a virtual function is called directly, not through its vtable), a constructor runs
# by placement new, a destructor by a qualified call. Linked against the installed library, that source fails
# on any such function the library does not export. Functions a host cannot reach (private members, members
# of class templates, deleted, defaulted and pure virtual ones) are left out. It also writes the qualified
# names of every record, function and variable the headers declare, one a line, to NAMES.
#
#   awk -v ROOT=<prefix>/include/Velmora/ -v NAMES=<file> -f UseDeclarations.awk <dump> > <source>
#
# Only POSIX awk: no gawk extensions.

function Depth(line)
{
    return (match(line, /[A-Za-z<]/) - 1) / 2
}

# The source location tokens of a line update the file that clang's dump prints only when it changes.
function TrackFile(head, rest, token)
{
    rest = head
    while (match(rest, /[^ <>,]+:[0-9]+:[0-9]+/)) {
        token = substr(rest, RSTART, RLENGTH)
        rest = substr(rest, RSTART + RLENGTH)
        if (token !~ /^line:/) {
            sub(/:[0-9]+:[0-9]+$/, "", token)
            file = token
        }
    }
}

# The declared name: what follows the location of the declaration's name, past the dump's flags.
function DeclName(head, words, n, i, name, start)
{
    sub(/ +$/, "", head)
    n = split(head, words, " ")
    start = n + 1
    for (i = 1; i <= n; i++) {
        if (words[i] ~ /^(col|line):[0-9]/ || words[i] ~ /:[0-9]+:[0-9]+$/) {
            start = i + 1
        }
    }
    name = ""
    for (i = start; i <= n; i++) {
        if (name == "" && words[i] ~ /^(implicit|used|referenced|invalid|constexpr|consteval|inline|extern)$/) {
            continue
        }
        name = name == "" ? words[i] : name " " words[i]
    }
    return name
}

function Restrict(a, b)
{
    if (a == "private" || b == "private") return "private"
    if (a == "protected" || b == "protected") return "protected"
    return "public"
}

function Pop(d)
{
    while (top >= 0 && sdepth[top] >= d) {
        top--
    }
}

function Qualified(name, i, q)
{
    q = ""
    for (i = 0; i <= top; i++) {
        if (skind[i] == "namespace" || skind[i] == "record") {
            q = q sname[i] "::"
        }
    }
    return q name
}

# Splits the parameters of a function type ("R (P1, P2) const") into params[1..n]; returns n and sets quals.
function SplitParams(type, chars, n, i, depth, end, begin, c, list, count, piece)
{
    quals = ""
    while (type ~ / (const|volatile|&|&&|noexcept)$/) {
        match(type, / [^ ]+$/)
        quals = substr(type, RSTART + 1) " " quals
        type = substr(type, 1, RSTART - 1)
    }
    end = length(type)
    depth = 0
    for (i = end; i >= 1; i--) {
        c = substr(type, i, 1)
        if (c == ")" || c == ">" || c == "]") depth++
        if (c == "(" || c == "<" || c == "[") depth--
        if (depth == 0) break
    }
    begin = i
    list = substr(type, begin + 1, end - begin - 1)
    count = 0
    depth = 0
    piece = ""
    for (i = 1; i <= length(list); i++) {
        c = substr(list, i, 1)
        if (c == "(" || c == "<" || c == "[") depth++
        if (c == ")" || c == ">" || c == "]") depth--
        if (c == "," && depth == 0) {
            params[++count] = piece
            piece = ""
            continue
        }
        piece = piece c
    }
    sub(/^ +/, "", piece)
    if (piece != "" && piece != "void") params[++count] = piece
    for (i = 1; i <= count; i++) {
        sub(/^ +/, "", params[i])
        sub(/ +$/, "", params[i])
    }
    return count
}

function Args(count, i, text)
{
    text = ""
    for (i = 1; i <= count; i++) {
        text = text (i > 1 ? ", " : "") "::VelmoraHost::Arg<" params[i] ">()"
    }
    return text
}

# The namespaces to open and close around a use of a member of the scopes kinds[0..last], names[0..last], the
# record's path below them and its outermost record.
function Scope(kinds, names, last, i)
{
    opens = ""
    closes = ""
    records = ""
    outer = ""
    for (i = 0; i <= last; i++) {
        if (kinds[i] == "namespace") {
            opens = opens "namespace " names[i] " { "
            closes = closes "} "
        } else if (kinds[i] == "record") {
            records = records == "" ? names[i] : records "::" names[i]
            if (outer == "") outer = names[i]
        }
    }
}

# Writes the use of the pending function, if a host can reach it.
function Emit(i, ns, path, count, args, object, probe, statement, simple)
{
    if (!pending) return
    pending = 0
    if (paccess == "private" || pflags ~ / (delete|default|pure)( |$)/ || pdefined) return

    Scope(pkind, pname, ptop)
    count = SplitParams(ptype)
    args = Args(count)
    probe = "VelmoraUse" (++uses)
    simple = pname_decl
    if (records == "") {
        ns = ""
        for (i = 0; i <= ptop; i++) {
            if (pkind[i] == "namespace") ns = ns "::" pname[i]
        }
        print opens "void " probe "() { " ns "::" simple "(" args "); } " closes
        return
    }
    path = records
    if (pdecl == "CXXConstructorDecl" && paccess == "protected" && path == outer) {
        # A protected constructor runs only as the base of a derived object.
        print opens "struct " probe " : " outer " { " probe "(); }; " probe "::" probe "() : " outer "(" args ") {} " closes
        return
    }
    if (pdecl == "CXXConstructorDecl") {
        statement = "::new (::VelmoraHost::Storage()) " path "(" args ")"
    } else {
        # Members of the outermost class are reached through the derived probe, so protected ones count too.
        object = path == outer ? probe : path
        if (quals ~ /&&/) object = object "&&"
        else object = object "&"
        if (quals ~ /(^| )const( |$)/) object = "const " object
        if (pflags ~ / static( |$)/) {
            statement = path "::" simple "(" args ")"
        } else {
            statement = "::VelmoraHost::Arg<" object ">()." path "::" simple "(" args ")"
        }
    }
    print opens "struct " probe " : " outer " { static void Use(); }; void " probe "::Use() { " statement "; } " closes
}

BEGIN {
    top = -1
    pending = 0
    uses = 0
    file = ""
}

{
    line = $0
    quote = index(line, "'")
    head = quote > 0 ? substr(line, 1, quote - 1) : line
    TrackFile(head)
    d = Depth(line)
    kind = substr(line, d * 2 + 1)
    sub(/ .*/, "", kind)

    if (pending && d <= pdepth) Emit()
    if (pending && d == pdepth + 1 && (kind == "CompoundStmt" || kind == "CXXTryStmt")) pdefined = 1
    Pop(d)
    # Only the declarations of namespaces, linkage blocks and records matter, never what is inside a body.
    if (top >= 0 ? d != sdepth[top] + 1 : d != 1) next

    inside = index(file, ROOT) == 1
    parentSkip = top >= 0 && sskip[top]
    access = top >= 0 ? saccess[top] : "public"

    if (kind == "AccessSpecDecl") {
        n = split(head, words, " ")
        # The access belongs to the enclosing record from here on.
        if (top >= 0) saccess[top] = words[n]
        next
    }

    if (kind == "TranslationUnitDecl") next

    # A polymorphic record's type information, which a host needs to catch it or cast to it.
    if (kind == "DefinitionData" && top >= 0 && skind[top] == "record" && !sskip[top] && smember[top] != "private" &&
        head ~ / polymorphic( |$)/) {
        Scope(skind, sname, top)
        print opens "struct VelmoraUse" (++uses) " : " outer " { static void Use(); }; void VelmoraUse" uses \
              "::Use() { ::VelmoraHost::Keep(&typeid(" records ")); } " closes
        next
    }

    skip = parentSkip || !inside || head ~ / implicit /
    if (kind ~ /^(ClassTemplate|FunctionTemplate|ClassTemplatePartialSpecialization|ClassTemplateSpecialization|Friend|TypeAliasTemplate|VarTemplate)Decl$/) {
        skip = 1
    }

    if (kind == "NamespaceDecl") {
        name = DeclName(head)
        top++
        sdepth[top] = d
        skind[top] = "namespace"
        sname[top] = name
        saccess[top] = "public"
        smember[top] = "public"
        sskip[top] = skip || name == ""
        next
    }
    if (kind == "LinkageSpecDecl") {
        top++
        sdepth[top] = d
        skind[top] = "linkage"
        sname[top] = ""
        saccess[top] = access
        smember[top] = top > 0 ? smember[top - 1] : "public"
        sskip[top] = skip
        next
    }
    if (kind == "CXXRecordDecl" && head ~ / definition *$/ && head !~ / implicit /) {
        name = DeclName(head)
        sub(/^(class|struct|union) /, "", name)
        sub(/ definition$/, "", name)
        if (name ~ /^(class|struct|union)$/) name = ""
        if (!skip && name != "") print Qualified(name) > NAMES
        top++
        sdepth[top] = d
        skind[top] = "record"
        sname[top] = name
        saccess[top] = head ~ / class / ? "private" : "public"
        smember[top] = Restrict(top > 0 ? smember[top - 1] : "public", access)
        sskip[top] = skip || name == ""
        next
    }
    if (kind ~ /^(ClassTemplate|FunctionTemplate|ClassTemplatePartialSpecialization|ClassTemplateSpecialization|Friend|TypeAliasTemplate|VarTemplate|Enum|CXXRecord)Decl$/) {
        # Nothing of it is used: push it so that its children are skipped.
        top++
        sdepth[top] = d
        skind[top] = "other"
        sname[top] = ""
        saccess[top] = access
        smember[top] = access
        sskip[top] = 1
        next
    }
    if (skip) next

    if (kind == "VarDecl" && top >= 0 && (skind[top] == "namespace" || skind[top] == "record" || skind[top] == "linkage")) {
        print Qualified(DeclName(head)) > NAMES
        next
    }
    if (kind !~ /^(Function|CXXMethod|CXXConstructor|CXXDestructor|CXXConversion)Decl$/) next
    if (top >= 0 && skind[top] != "namespace" && skind[top] != "record" && skind[top] != "linkage") next

    pname_decl = DeclName(head)
    print Qualified(pname_decl) > NAMES
    rest = quote > 0 ? substr(line, quote + 1) : ""
    ptype = rest
    sub(/'.*/, "", ptype)
    pflags = rest
    sub(/^[^']*'/, "", pflags)
    sub(/^:'[^']*'/, "", pflags)
    pflags = " " pflags
    pdecl = kind
    pdepth = d
    pdefined = 0
    paccess = Restrict(top >= 0 && skind[top] == "record" ? smember[top] : "public", access)
    ptop = top
    for (i = 0; i <= top; i++) {
        pkind[i] = skind[i]
        pname[i] = sname[i]
    }
    pending = 1
}

END {
    Emit()
}
