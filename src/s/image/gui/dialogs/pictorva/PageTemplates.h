// The two gallery pages, character for character: lines end in "\n" here and in
// CR LF on the page, and leading tabs are tabs. A {{name}} is a hole the page writer
// fills: the title, the cell width (+ 5, no semicolon after it), the row count, and,
// on a line of its own, the rows: one line per picture, none without pictures.
#pragma once

namespace s::image::gui::dialogs::pictorva {

inline constexpr char16_t kTilePageTemplate[] = uR"~(<html>

<head>
<meta http-equiv="content-type" content="text/html; charset=UTF-8">
<title>{{title}}</title>
</head>

<body>

<center>
<div id="thumbnail"></div>
<script type="text/javascript"><!--
window.thumb = {};
window.thumb.numOfColumn = 3;
window.thumb.insertTable = function(expectedNumOfImage){
	window.thumb.numOfColumn = window.thumb.calcNumOfColumn();
	var tableScript = "<table width=100% cellspacing=0 cellpadding=0 border=0>";
	var imageIndex = 0;
	while(imageIndex < expectedNumOfImage){
		var upperRow = "<tr>";
		var downerRow = "<tr>";
		for(var n=0; n<window.thumb.numOfColumn; n++){
			upperRow += "<td id=imageCell" + imageIndex
			+ " align=center nowrap valign=bottom width=" + 100/window.thumb.numOfColumn + "%></td>";
			downerRow += "<td id=textCell" + imageIndex
			+ " align=center valign=top width=" + 100/window.thumb.numOfColumn + "%></td>";
			imageIndex++;
		}
		upperRow += "</tr>";
		downerRow += "</tr>";
		tableScript += upperRow + downerRow;
	}
	tableScript += "</table>";
	document.getElementById("thumbnail").innerHTML = tableScript;
};

window.thumb.cellWidth = 200;
window.thumb.calcNumOfColumn = function(){
	var availWidth = 0;
	if(document && document.body && document.body.clientWidth){
		availWidth = document.body.clientWidth;
	}
	else{availWidth = window.innerWidth}
	var col = 0;
	if(!availWidth){col = 1;}
	else if(availWidth <= window.thumb.cellWidth){col = 1;}
	else{col = Math.floor(availWidth / window.thumb.cellWidth);}
	return col;
};

window.thumb.images = [];
window.thumb.numOfImages = 0;
window.thumb.addImage = function(sImagePath, sWidth, sHeight, bImageName, bImagePath, bWidth, bHeight, bSize, bType){
	var theImage = new Image;
	theImage.sImagePath = sImagePath;
	theImage.sWidth = sWidth;
	theImage.sHeight = sHeight;
	theImage.bImageName = bImageName;
	theImage.bImagePath = bImagePath;
	theImage.bWidth = bWidth;
	theImage.bHeight = bHeight;
	theImage.bSize = bSize;
	theImage.bType = bType;
	window.thumb.images[window.thumb.numOfImages] = theImage;
	window.thumb.insertImage(window.thumb.numOfImages);
	window.thumb.numOfImages++;
};

window.thumb.insertImage = function(index){
	if(index >= window.thumb.images.length){return;}
	var theImage = window.thumb.images[index];
	document.getElementById("imageCell" + index).style.paddingTop = index < window.thumb.numOfColumn ? "0px" : "20px";
	var imageScript = "<a href=\"" + theImage.bImagePath + "\"><img style='border:0px solid; border-color:gray;' src=\"" + theImage.sImagePath + "\" width="
				+ theImage.sWidth + " height=" + theImage.sHeight + "></a>";
	document.getElementById("imageCell" + index).innerHTML = imageScript;
	var fontScript = "<font face=arial,sans-serif size=-1><font size=3>" + theImage.bImageName + "</font><br>";
	fontScript += theImage.bWidth + " x " + theImage.bHeight;
	if(window.thumb.cellWidth < 155)fontScript += "<br>";
	else {fontScript += " - ";}
	fontScript += theImage.bSize + " - " + theImage.bType + "</font><br>";
	document.getElementById("textCell" + index).innerHTML = fontScript;
};

window.onresize = function(){
	if(window.thumb.numOfColumn != window.thumb.calcNumOfColumn()){
		window.thumb.insertTable(window.thumb.numOfImages);
		for(var index = 0; index < window.thumb.numOfImages; index++){window.thumb.insertImage(index);}
	}
};

window.thumb.cellWidth = {{cellWidth}}
window.thumb.insertTable({{rowCount}});
{{rows}}
//--></script>
</center>

</body>
</html>
)~";

inline constexpr char16_t kFlatPageTemplate[] = uR"~(<html>

<head>
<meta http-equiv="content-type" content="text/html; charset=UTF-8">
<title>{{title}}</title>
</head>

<body>

<center>
<div id="thumbnail"></div>
<script type="text/javascript"><!--
window.thumb = {};
window.thumb.numOfColumn = 1;
window.thumb.insertTable = function(expectedNumOfImage){
	window.thumb.numOfColumn = 1;
	var tableScript = "<table width=100% cellspacing=0 cellpadding=0 border=0>";
	var imageIndex = 0;
	while(imageIndex < expectedNumOfImage){
		var upperRow = "<tr>";
		var downerRow = "<tr>";
		for(var n=0; n<window.thumb.numOfColumn; n++){
			upperRow += "<td id=imageCell" + imageIndex
			+ " align=center nowrap valign=bottom width=100%></td>";
			downerRow += "<td id=textCell" + imageIndex
			+ " align=center valign=top width=100%></td>";
			imageIndex++;
		}
		upperRow += "</tr>";
		downerRow += "</tr>";
		tableScript += upperRow + downerRow;
	}
	tableScript += "</table>";
	document.getElementById("thumbnail").innerHTML = tableScript;
};

window.thumb.images = [];
window.thumb.numOfImages = 0;
window.thumb.addImage = function(sImagePath, sWidth, sHeight, bImageName, bImagePath, bWidth, bHeight, bSize, bType){
	var theImage = new Image;
	theImage.sImagePath = sImagePath;
	theImage.sWidth = sWidth;
	theImage.sHeight = sHeight;
	theImage.bImageName = bImageName;
	theImage.bImagePath = bImagePath;
	theImage.bWidth = bWidth;
	theImage.bHeight = bHeight;
	theImage.bSize = bSize;
	theImage.bType = bType;
	window.thumb.images[window.thumb.numOfImages] = theImage;
	window.thumb.insertImage(window.thumb.numOfImages);
	window.thumb.numOfImages++;
};

window.thumb.calcNumOfColumn = function(){
	var availWidth = 0;
	if(document && document.body && document.body.clientWidth){
		availWidth = document.body.clientWidth;
	}
	else{availWidth = window.innerWidth}
	var col = 0;
	if(!availWidth){col = 1;}
	else if(availWidth <= 200){col = 1;}
	else{col = Math.floor(availWidth / 200);}
	return col;
};

window.thumb.imageSizeRestricted = 0;
window.thumb.insertImage = function(index){
	if(index >= window.thumb.images.length){return;}
	var theImage = window.thumb.images[index];
	var availWidth = window.thumb.calcAvailWidth();
	var dispWidth = theImage.bWidth;
	var dispHeight = theImage.bHeight;
	if(availWidth < dispWidth){
		dispHeight = Math.floor(dispHeight*availWidth/dispWidth);
		dispWidth = availWidth;
		window.thumb.imageSizeRestricted = 1;
	}
	document.getElementById("imageCell" + index).style.paddingTop = index < window.thumb.numOfColumn ? "0px" : "20px";
	var imageScript = "<img style='border:0px solid; border-color:gray;' src=\"" + theImage.bImagePath + "\" width="
				+ dispWidth + " height=" + dispHeight + ">";
	document.getElementById("imageCell" + index).innerHTML = imageScript;
	var fontScript = "<font face=arial,sans-serif size=-1><font size=3>" + theImage.bImageName + "</font><br>"
			+ theImage.bWidth + " x " + theImage.bHeight + " - " + theImage.bSize + " - " + theImage.bType + "</font><br>";
	document.getElementById("textCell" + index).innerHTML = fontScript;
};

window.thumb.calcAvailWidth = function(){
	var availWidth = 0;
	if(document && document.body && document.body.clientWidth){
		availWidth = document.body.clientWidth;
	}
	else{availWidth = window.innerWidth}
	return availWidth-30;
};

window.onresize = function(){
	if(window.thumb.imageSizeRestricted != 0){
		window.thumb.insertTable(window.thumb.numOfImages);
		window.thumb.imageSizeRestricted = 0;
		for(var index = 0; index < window.thumb.numOfImages; index++){window.thumb.insertImage(index);}
	}
};

window.thumb.insertTable({{rowCount}});
{{rows}}
//--></script>
</center>

</body>
</html>
)~";

}  // namespace s::image::gui::dialogs::pictorva
